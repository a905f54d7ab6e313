#include "publish/HeadlessPublish.h"

#include "ULanguage.h"
#include "platform/AppError.h"
#include "platform/ProgramFolder.h"
#include "project/ProjectDefaults.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"
#include "publish/ConsoleProgress.h"
#include "publish/UMixMusic.h"
#include "publish/UOutputFiles.h"
#include "publish/UPublishFlash.h"
#include "publish/UPublishThread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

constexpr int ExitPublished = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;
constexpr int ExitCancelled = 130;

struct Request {
    QString Project;
    int Kind = 0;
    QString Output;
    std::optional<QSize> Size;
};

int PrintUsage(const QString &problem)
{
    std::fprintf(stderr, "Pictavo: %s\nusage: Pictavo --publish PROJECT.vlpj --kind swf|exe|html|scr --output PATH [--size WxH]\n",
                 problem.toLocal8Bit().constData());
    return ExitUsage;
}

// Parses the command line; an empty problem text means it was understood.
QString ParseRequest(const QStringList &arguments, Request &request)
{
    static const QHash<QString, int> kinds = {{"swf", 0}, {"exe", 1}, {"html", 2}, {"scr", 4}};
    bool haveKind = false;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QString &option = arguments[i];
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(option);
        const QString &value = arguments[i + 1];
        if (option == QLatin1String("--publish")) {
            request.Project = value;
        } else if (option == QLatin1String("--kind")) {
            if (!kinds.contains(value))
                return QStringLiteral("unknown kind \"%1\"").arg(value);
            request.Kind = kinds.value(value);
            haveKind = true;
        } else if (option == QLatin1String("--output")) {
            request.Output = value;
        } else if (option == QLatin1String("--size")) {
            static const QRegularExpression form(QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$"));
            const QRegularExpressionMatch match = form.match(value);
            const int width = match.captured(1).toInt(), height = match.captured(2).toInt();
            if (!match.hasMatch() || width < 1 || height < 1 || width > 10000 || height > 10000)
                return QStringLiteral("--size wants WIDTHxHEIGHT, each from 1 to 10000, not \"%1\"").arg(value);
            request.Size = QSize(width, height);
        } else {
            return QStringLiteral("unknown option \"%1\"").arg(option);
        }
    }
    if (request.Project.isEmpty() || !haveKind || request.Output.isEmpty())
        return QStringLiteral("--publish, --kind and --output are needed");
    return {};
}

// Ctrl+C asks the running publish to stop; a second one ends the program the usual way.
TProjItem *CancelTarget = nullptr;

void RequestCancel(int)
{
    if (CancelTarget)
        CancelTarget->SetCancelRequested(true);
}

void InstallCancelHandler(TProjItem &project)
{
    CancelTarget = &project;
    struct sigaction action {};
    action.sa_handler = RequestCancel;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

void RemoveCancelHandler()
{
    std::signal(SIGINT, SIG_DFL);
    CancelTarget = nullptr;
}

// The work files of this run: the publish folder, and what the run added to the work folder.
class WorkFiles {
public:
    WorkFiles() : Folder(ProgramFile(QStringLiteral("TempImg"))), Before(Entries()) {}
    ~WorkFiles()
    {
        DeleteFolder(ProgramFile(QStringLiteral("Temp")));
        for (const QString &name : Entries())
            if (!Before.contains(name))
                QFile::remove(Folder + QLatin1Char('/') + name);
    }

private:
    QSet<QString> Entries() const
    {
        const QStringList names = QDir(Folder).entryList(QDir::Files | QDir::Hidden);
        return QSet<QString>(names.begin(), names.end());
    }
    const QString Folder;
    const QSet<QString> Before;
};

// The product of the kind, from the movie the engine wrote.
void Package(const TProjItem &project, const QString &movie)
{
    const QString output = project.OutputPath();
    switch (project.OutputKind()) {
    case 1:
        MakeProgram(movie, output, ProgramFile(QStringLiteral("Slideplay.exe")));
        break;
    case 2:
        MakeWebPage(movie, output, project.Seting()->Width(), project.Seting()->Height());
        break;
    case 4:
        if (!MakeScreenSaver(movie, output, ProgramFile(QStringLiteral("Saverhost.exe"))))
            RaiseFileNotFound(ProgramFile(QStringLiteral("Saverhost.exe")));
        break;
    default:
        break; // the engine wrote the movie itself
    }
}

} // namespace

int RunHeadlessPublish(const QStringList &arguments)
{
    Request request;
    if (const QString problem = ParseRequest(arguments, request); !problem.isEmpty())
        return PrintUsage(problem);

    LoadProgramLanguage();
    TConsoleProgress console(stdout, isatty(fileno(stdout)) != 0);
    TProjItem project;
    ApplyStartupValues(project);
    try {
        if (!QFileInfo(request.Project).isFile())
            RaiseFileNotFound(request.Project);
        project.LoadFromFile(request.Project);
        if (project.Images()->Count() == 0)
            throw AppError(QStringLiteral("The project %1 has no photos to publish").arg(request.Project));
    } catch (const AppError &error) {
        std::fprintf(stderr, "Pictavo: %s\n", error.message().toLocal8Bit().constData());
        return ExitFailed;
    }
    if (request.Size) {
        project.Seting()->SetWidth(request.Size->width());
        project.Seting()->SetHeight(request.Size->height());
    }
    project.SetOutputKind(static_cast<uint8_t>(request.Kind));
    project.SetOutputPath(QFileInfo(request.Output).absoluteFilePath());
    project.SetCancelRequested(false);

    int status = ExitPublished;
    InstallCancelHandler(project);
    {
        WorkFiles work;
        try {
            if (!MixProjectMusic(project, console))
                throw AppError(QStringLiteral("Cancel"));
            // The same stages the progress window's worker runs.
            const QString result = RunPublishStages(project, console);
            if (result != PublishSucceeded)
                throw AppError(result);
            Package(project, PackagedMoviePath());
            console.Finish();
            std::printf("Published %s\n", project.OutputPath().toLocal8Bit().constData());
        } catch (const AppError &error) {
            console.Finish();
            if (error.message() == QLatin1String("Cancel")) {
                std::fprintf(stderr, "Pictavo: publishing cancelled; %s was not written.\n",
                             project.OutputPath().toLocal8Bit().constData());
                status = ExitCancelled;
            } else {
                std::fprintf(stderr, "Pictavo: publishing failed: %s\n", error.message().toLocal8Bit().constData());
                status = ExitFailed;
            }
        }
    }
    RemoveCancelHandler();
    return status;
}
