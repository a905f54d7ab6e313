#include "platform/Desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

class TRealDesktop final : public TDesktop {
public:
    bool OpenUrl(const QUrl &url) override { return QDesktopServices::openUrl(url); }

    void ShowInFileManager(const QString &path) override
    {
        // File managers that select a file offer the freedesktop FileManager1 service; the call
        // fails quickly when none runs, and the folder is opened instead.
        const QString dbusSend = QStandardPaths::findExecutable(QStringLiteral("dbus-send"));
        if (!dbusSend.isEmpty()) {
            QProcess call;
            call.start(dbusSend, {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                                  QStringLiteral("--dest=org.freedesktop.FileManager1"),
                                  QStringLiteral("--type=method_call"), QStringLiteral("/org/freedesktop/FileManager1"),
                                  QStringLiteral("org.freedesktop.FileManager1.ShowItems"),
                                  QStringLiteral("array:string:") + QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded),
                                  QStringLiteral("string:")});
            if (call.waitForFinished(3000) && call.exitStatus() == QProcess::NormalExit && call.exitCode() == 0)
                return;
            call.kill();
            call.waitForFinished(1000);
        }
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
    }

    bool StartProgram(const QString &program, const QStringList &arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }

    QString FindProgram(const QStringList &programs) override
    {
        for (const QString &program : programs)
            if (const QString found = QStandardPaths::findExecutable(program); !found.isEmpty())
                return found;
        return {};
    }
};

TDesktop *installed = nullptr;

} // namespace

TDesktop &Desktop()
{
    static TRealDesktop real;
    return installed ? *installed : real;
}

void SetDesktop(TDesktop *desktop)
{
    installed = desktop;
}
