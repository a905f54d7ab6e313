#include "URecentFolders.h"

#include "platform/ProgramFolder.h"
#include "project/UPublicFunction.h"

#include <QDir>
#include <QFile>

QString TRecentFolders::FilePath()
{
    return ProgramFolder() + QStringLiteral("TempData.dat");
}

QString TRecentFolders::DefaultWorkingFolder()
{
    const QString documents = DocumentsFolder();
    const QString working = documents + QStringLiteral("/Vexasoft Lumivue/");
    if (QDir().mkpath(working))
        return working;
    return documents;
}

void TRecentFolders::Load()
{
    m_lines.clear();
    QFile file(FilePath());
    if (file.open(QIODevice::ReadOnly)) {
        // Read as a string list: CR LF, LF or CR end a line; a last line end adds no line.
        QString text = QString::fromUtf8(file.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        if (text.endsWith(u'\n'))
            text.chop(1);
        if (!text.isEmpty() || file.size() > 0)
            m_lines = text.split(u'\n');
    }
    if (m_lines.size() == 3)
        return;
    const QString working = DefaultWorkingFolder();
    m_lines = {ProgramFolder() + QStringLiteral("Res/images"), working, working};
}

void TRecentFolders::Save() const
{
    QFile file(FilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QString text;
    for (const QString &line : m_lines)
        text += line + QStringLiteral("\r\n");
    file.write(text.toUtf8());
}

void TRecentFolders::SetFolder(Line line, const QString &folder)
{
    while (m_lines.size() <= line)
        m_lines << QString();
    m_lines[line] = folder;
}
