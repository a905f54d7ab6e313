#include "UProjectCommands.h"

#include "UCommonPart.h"
#include "ULanguage.h"
#include "UMain.h"
#include "UMainFeatures.h"
#include "UMsgBox.h"
#include "UPhotoList.h"
#include "platform/Prompts.h"
#include "project/ProjectFile.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString ProjectFilter = QStringLiteral("Project File (*.vlpj)|*.vlpj");

// The three files an edited photo keeps: edited copy, edit script, thumbnail.
QStringList EditedFiles(const TImageObj &photo)
{
    return {photo.EditFile(), EditScriptPath(photo.EditFile()), photo.ThumbFile()};
}

// Copies over any file of the target's name; a failure is passed over.
void CopyReplacing(const QString &source, const QString &target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return;
    QFile::remove(target);
    QFile::copy(source, target);
}

// The editor UI's photo strip and the work folder are emptied before another project comes.
void ClearEditor(TFrmmain &window)
{
    window.CallUI(QStringLiteral("ClearAllImage"));
    window.RefreshPhotoCount();
    DeleteFolder(WorkFolder());
}

} // namespace

QString EditScriptPath(const QString &editFile)
{
    const QFileInfo info(editFile);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return editFile.left(editFile.size() - name.size()) + (dot >= 0 ? name.left(dot) : name) + QStringLiteral(".xml");
}

bool ConfirmDiscard(TFrmmain &window)
{
    const TProjItem &project = window.Project();
    if (project.Images()->Count() == 0)
        return true;
    const bool untitled = window.ProjectFileName().isEmpty();
    if (!untitled && !project.Modified())
        return true;
    const PromptAnswer answer =
        Prompts().Message(&window, LangText(QStringLiteral("msg_issave")), ProductTitle(), PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::No)
        return true;
    if (answer != PromptAnswer::Yes)
        return false;
    // A save that fails or is cancelled keeps the project, so nothing is lost.
    return untitled ? window.Features().SaveProjectAs(window)
                    : window.Features().SaveProjectTo(window, window.ProjectFileName());
}

bool NewProject(TFrmmain &window)
{
    if (!ConfirmDiscard(window))
        return false;
    ClearEditor(window);
    TProjItem &project = window.Project();
    project.Images()->Clear();
    project.Audios()->Clear();
    window.CallUI(QStringLiteral("ChangMainIndex"), {QStringLiteral("0")});
    window.SetProjectFileName(QString());
    window.RefreshPhotoCount();
    return true;
}

void OpenProjectDialog(TFrmmain &window)
{
    FileDialogRequest request;
    request.filter = ProjectFilter;
    const QStringList chosen = Prompts().OpenFiles(&window, request);
    if (!chosen.isEmpty())
        OpenProject(window, chosen.first());
}

void OpenProject(TFrmmain &window, const QString &path)
{
    if (!ConfirmDiscard(window))
        return;
    ClearEditor(window);
    window.SetProjectFileName(path);
    TProjItem &project = window.Project();
    project.LoadFromFile(path);

    QStringList missing;
    RemoveMissingFiles(project, missing);
    const QString companion = CompanionFolder(path) + QLatin1Char('/');
    for (int i = 0; i < project.Images()->Count(); ++i) {
        const TImageObj &photo = *project.Images()->Items(i);
        if (!photo.ISEdit())
            continue;
        QDir().mkpath(WorkFolder());
        for (const QString &file : EditedFiles(photo))
            CopyReplacing(companion + QFileInfo(file).fileName(), file);
    }
    const QString photos = ReloadPhotosXml(project, window.ProgressBar());
    if (!photos.isEmpty()) {
        window.CallUIText(photos);
        window.RefreshPhotoCount();
    }
    window.CallUI(QStringLiteral("ChangMainIndex"), {QStringLiteral("0")});
    if (!missing.isEmpty())
        ShowMissingFiles(&window, QFileInfo(path).fileName(), missing);
}

void SaveProject(TFrmmain &window)
{
    if (window.ProjectFileName().isEmpty())
        window.Features().SaveProjectAs(window);
    else
        window.Features().SaveProjectTo(window, window.ProjectFileName());
}

bool SaveProjectAs(TFrmmain &window)
{
    if (window.Project().Images()->Count() == 0)
        return false;
    FileDialogRequest request;
    request.filter = ProjectFilter;
    request.initialFolder = window.RecentFolders().Folder(TRecentFolders::ProjectFolder);
    QString name = Prompts().SaveFile(&window, request);
    if (name.isEmpty())
        return false;
    window.RecentFolders().SetFolder(TRecentFolders::ProjectFolder, QFileInfo(name).absolutePath());
    // Only the last four characters count: "tripvlpj" is kept as it is.
    if (name.right(4).toLower() != QLatin1String("vlpj"))
        name += QStringLiteral(".vlpj");
    if (!IsValidFileName(QFileInfo(name).fileName())) {
        ShowMessage(&window, LangText(QStringLiteral("msg_invalid_file")));
        return false;
    }
    if (QFileInfo::exists(name) &&
        Prompts().Message(&window, LangText(QStringLiteral("msg_projectexists")), QString(), PromptButtons::YesNo) !=
            PromptAnswer::Yes)
        return false;
    return window.Features().SaveProjectTo(window, name);
}

bool SaveProjectTo(TFrmmain &window, const QString &path)
{
    TProjItem &project = window.Project();
    if (project.Images()->Count() == 0)
        return false;
    const QString companion = CompanionFolder(path);
    if (QFileInfo(companion).isDir())
        DeleteFolder(companion);
    window.SetProjectFileName(path);
    project.SaveToFile(path);
    for (int i = 0; i < project.Images()->Count(); ++i) {
        const TImageObj &photo = *project.Images()->Items(i);
        if (!photo.ISEdit())
            continue;
        QDir().mkpath(companion);
        for (const QString &file : EditedFiles(photo))
            CopyReplacing(file, companion + QLatin1Char('/') + QFileInfo(file).fileName());
    }
    window.SetProjectFileName(path);
    return true;
}
