#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString withTrailingSlash(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString executableFolder()
{
    // Works before a QCoreApplication exists, unlike QCoreApplication::applicationDirPath().
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return QFileInfo(self.symLinkTarget()).absolutePath();
}

} // namespace

QString ProgramFolder()
{
    const QString home = qEnvironmentVariable("LUMIVUE_HOME");
    if (!home.isEmpty())
        return withTrailingSlash(QDir::cleanPath(QDir(home).absolutePath()));
    return withTrailingSlash(executableFolder());
}

QString ResolvePathIgnoringCase(const QString &base, const QString &relative)
{
    QString path = base.endsWith(u'/') ? base.chopped(1) : base;
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    bool onDisk = true;
    for (const QString &part : parts) {
        QString name = part;
        if (onDisk && !QFileInfo::exists(path + u'/' + part)) {
            const QStringList entries = QDir(path).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            onDisk = false;
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    name = entry;
                    onDisk = true;
                    break;
                }
            }
        }
        path += u'/' + name;
    }
    if (relative.endsWith(u'/'))
        path += u'/';
    return path;
}

QString ProgramFile(const QString &relative)
{
    return ResolvePathIgnoringCase(ProgramFolder(), relative);
}
