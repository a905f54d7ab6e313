#include "platform/HelpFile.h"

#include "platform/Desktop.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>
#include <QUrl>

namespace {

// Viewers of compiled HTML help that Debian packages.
const QStringList HelpViewers = {QStringLiteral("xchm"), QStringLiteral("kchmviewer")};

} // namespace

QString HelpFilePath()
{
    return ProgramFile(QStringLiteral("lumivue.chm"));
}

void OpenHelpFile(const QString &topic)
{
    const QString help = HelpFilePath();
    if (!QFileInfo(help).isFile())
        return;
    const QString viewer = Desktop().FindProgram(HelpViewers);
    const QString page = topic.isEmpty() ? QStringLiteral("index.html") : topic;
    const QString file = page.left(page.indexOf(QLatin1Char('#')));
    const QString pages = ProgramFile(QStringLiteral("help/") + file);
    if (!viewer.isEmpty() || !QFileInfo(pages).isFile()) {
        Desktop().OpenUrl(QUrl::fromLocalFile(help));
        return;
    }
    QUrl url = QUrl::fromLocalFile(pages);
    if (const qsizetype hash = page.indexOf(QLatin1Char('#')); hash >= 0)
        url.setFragment(page.mid(hash + 1));
    Desktop().OpenUrl(url);
}
