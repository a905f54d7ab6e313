#include "publish/UOutputFiles.h"

#include "UCommonPart.h"
#include "ULanguage.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "publish/UWriteFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

const char *const FlashPlayerInstallerUrl =
    "http://fpdownload.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=9.0.0.0";
const char *const FlashPlayerPluginPageUrl = "http://www.adobe.com/go/getflashplayer";

namespace {

constexpr uint32_t ProgramTrailerMagic = 0xFA123456;

void OpenForReading(QFile &file)
{
    if (!QFileInfo(file.fileName()).isFile())
        RaiseFileNotFound(file.fileName());
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open %1: %2").arg(file.fileName(), file.errorString()));
}

// Copies `source` to `target` through a temporary file, so the target is either the old file or
// the complete copy.
void ReplaceFileWithCopy(const QString &source, const QString &target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open %1: %2").arg(source, input.errorString()));
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Cannot create %1: %2").arg(target, output.errorString()));
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(1 << 20);
        if (chunk.isEmpty() || output.write(chunk) != chunk.size())
            throw AppError(QStringLiteral("Cannot copy %1 to %2").arg(source, target));
    }
    if (!output.commit())
        throw AppError(QStringLiteral("Cannot write %1: %2").arg(target, output.errorString()));
}

} // namespace

void MakeProgram(const QString &movie, const QString &output, const QString &player)
{
    QFile movieFile(movie);
    OpenForReading(movieFile);
    TWriteFile program(player, output);
    const TBlockPlace place = program.AppendRange(movieFile, movieFile.size(), 0);
    program.WriteInt32(ProgramTrailerMagic);
    program.WriteInt32(place.Length);
    program.Commit();
}

QByteArray WebPageText(const QString &name, int width, int height)
{
    const QString n = name;
    const QString w = QString::number(width);
    const QString h = QString::number(height);
    const QString installer = QString::fromLatin1(FlashPlayerInstallerUrl);
    const QString pluginPage = QString::fromLatin1(FlashPlayerPluginPageUrl);
    const QString lines[] = {
        QStringLiteral("<html>"),
        QStringLiteral("<head>"),
        QStringLiteral("<title>"),
        n,
        QStringLiteral("</title>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body bgcolor=\"#FFFFFF\" onload=\"javascript: vexa.focus()\">"),
        QStringLiteral("<table width=100% height=100%>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td>"),
        QStringLiteral("<center>"),
        QStringLiteral(" <script language=\"javascript\">"),
        QStringLiteral("      document.write('<object classid=\"clsid:A763FB1D-703C-40AA-9FFD-4F23ED8D8641\" codebase=\"")
            + installer + QStringLiteral("\"width=\" ") + w + QStringLiteral("\" height=\"") + h
            + QStringLiteral("\" ID=\"vexa\" VIEWASTEXT>');  "),
        QStringLiteral("      document.write('  <param name=\"movie\" value=\"") + n + QStringLiteral(".swf\"")
            + QStringLiteral(" />');  "),
        QStringLiteral("      document.write('  <param name=\"quality\" value=\"high\" />');  "),
        QStringLiteral("      document.write('  <param name=\"wmode\" value=\"window\" />');  "),
        QStringLiteral("      document.write('  <param name=\"allowScriptAccess\" value=\"always\" />'); "),
        QStringLiteral("      document.write('  <param name=\"allowFullScreen\" value=\"True\" />');  "),
        QStringLiteral("      document.write('  <embed src=\"") + n
            + QStringLiteral(".swf\" quality=\"high\" name=\"vexa\" allowScriptAccess=\"always\" allowFullScreen=\"true\" pluginspage=\"")
            + pluginPage + QStringLiteral("\" type=\"application/x-shockwave-flash\" ") + QStringLiteral("width=\"") + w
            + QStringLiteral("\" height=\"") + h + QStringLiteral("\"></embed>');  "),
        QStringLiteral("      document.write('</object>');  "),
        QStringLiteral("</script> "),
        QStringLiteral("</center>"),
        QStringLiteral("</td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("</table>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    QByteArray text;
    for (const QString &line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

void MakeWebPage(const QString &movie, const QString &output, int width, int height)
{
    const QFileInfo page(output);
    const QString name = page.completeBaseName();
    const QString movieCopy = page.absolutePath() + QLatin1Char('/') + name + QStringLiteral(".swf");
    if (!QFileInfo(movie).isFile())
        RaiseFileNotFound(movie);
    if (page.absoluteFilePath() == movieCopy)
        throw AppError(QStringLiteral("The web page %1 would be overwritten by its movie").arg(output));
    QDir().mkpath(page.absolutePath());
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Cannot create %1: %2").arg(output, file.errorString()));
    const QByteArray text = WebPageText(name, width, height);
    if (file.write(text) != text.size() || !file.commit())
        throw AppError(QStringLiteral("Cannot write %1: %2").arg(output, file.errorString()));
    ReplaceFileWithCopy(movie, movieCopy);
}

bool MakeScreenSaver(const QString &movie, const QString &output, const QString &host)
{
    const QFileInfo hostInfo(host);
    if (!hostInfo.isFile())
        return false;
    const qint64 hostLength = hostInfo.size();
    TWriteFile saver(host, output);
    saver.AppendFile(movie);
    saver.WriteInt32(static_cast<uint32_t>(hostLength));
    saver.Commit();
    return true;
}

QString ScreenSaverFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/screensavers");
}

bool InstallScreenSaver(const QString &path)
{
    const QString target = ScreenSaverFolder() + QLatin1Char('/') + QFileInfo(path).fileName();
    try {
        QDir().mkpath(ScreenSaverFolder());
        ReplaceFileWithCopy(path, target);
        QFile::setPermissions(target, QFile::permissions(path));
    } catch (const AppError &) {
        return false;
    }
    // The settings programs of the desktops that have them.
    static const QStringList settings = {QStringLiteral("xfce4-screensaver-preferences"),
                                         QStringLiteral("mate-screensaver-preferences"),
                                         QStringLiteral("cinnamon-screensaver-preferences"),
                                         QStringLiteral("xscreensaver-settings"), QStringLiteral("xscreensaver-demo")};
    const QString program = Desktop().FindProgram(settings);
    if (program.isEmpty() || !Desktop().StartProgram(program, {}))
        Desktop().ShowInFileManager(target);
    return true;
}

bool SendByMail(const QString &path)
{
    const QString program = ProgramFile(QStringLiteral("Mailsend.exe"));
    if (Desktop().StartProgram(program, {path}))
        return true;
    const QString commandLine = program + QStringLiteral(" \"") + path + QLatin1Char('"');
    Prompts().Message(nullptr, commandLine + LangText(QStringLiteral("msg_run_is_failed")), ProductTitle(),
                      PromptButtons::Ok);
    return false;
}
