#include "UPhotoList.h"

#include "ParseFlashFunc.h"
#include "ULanguage.h"
#include "VexaImageProcessing.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QSet>
#include <QThreadPool>
#include <algorithm>
#include <future>
#include <memory>
#include <vector>

namespace {

int objectIdCounter = 0;

constexpr int ThumbWidth = 240, ThumbHeight = 180;
constexpr int PreviewWidth = 640, PreviewHeight = 480;
constexpr int JpegType = 1, JpegQuality = 80;

bool setImageSize(const QString &source, const QString &destination, int width, int height)
{
    return VexaSetImageSize(reinterpret_cast<const char16_t *>(source.utf16()),
                            reinterpret_cast<const char16_t *>(destination.utf16()), width, height,
                            JpegType, JpegQuality) == 1;
}

// Preview image `number` made from `source`; a failure leaves it missing.
void writePreview(const QString &source, int number)
{
    const QString preview = PreviewImagePath(number);
    QDir().mkpath(QFileInfo(preview).absolutePath());
    setImageSize(source, preview, PreviewWidth, PreviewHeight);
}

// <work folder><name><suffix>, numbered from the part of the name before its first "." when a
// file of that name exists or the name is in `reserved`.
QString workFileName(const QString &source, const QString &suffix,
                     const QSet<QString> &reserved = {})
{
    const QString folder = WorkFolder();
    const QString name = QFileInfo(source).completeBaseName() + suffix;
    const QString base = name.section(u'.', 0, 0);
    QString candidate = folder + name;
    for (int n = 1; reserved.contains(candidate) || QFileInfo::exists(candidate); ++n)
        candidate = folder + base + QStringLiteral("(%1).jpeg").arg(n);
    return candidate;
}

// One picture of an import: its thumbnail and preview image are made on a worker thread, under
// names planned in the import's order.
struct ImportJob {
    QString file;
    QString thumbnail;
    QString preview; // empty: the picture gives no preview image
    std::promise<bool> made;
    std::future<bool> thumbnailMade = made.get_future();
};

// Waits for every job before they are freed, however the import ends.
struct JobsGuard {
    std::vector<std::unique_ptr<ImportJob>> &jobs;
    ~JobsGuard()
    {
        for (auto &job : jobs) {
            if (job->thumbnailMade.valid())
                job->thumbnailMade.wait();
        }
    }
};

QString photoElement(const QString &thumbnail, const QString &source, int id)
{
    const QFileInfo info(source);
    // A source that vanished meanwhile still gets its element (no time, size -1).
    const QString time = info.exists() ? FileDateText(source) : QString();
    return QStringLiteral("<photo><thumb>") + thumbnail + QStringLiteral("</thumb><title>") +
           info.fileName() + QStringLiteral("</title><id>") + QString::number(id) +
           QStringLiteral("</id><time>") + time + QStringLiteral("</time><size>") +
           QString::number(GetFileSize64(source)) + QStringLiteral("</size></photo>");
}

QString photosInvoke(const QString &elements)
{
    return MakeInvokeText(QStringLiteral("AddPhoto"),
                          {QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <photos>") +
                           elements + QStringLiteral("</photos>")});
}

void showProgress(QProgressBar *bar, qsizetype done, qsizetype total)
{
    if (!bar)
        return;
    bar->setValue(qRound(double(done) * 100.0 / double(total)));
    bar->repaint();
}

// The IDs of an ID list, read from the front; AppError for one not followed by "-".
std::vector<int> readIds(QString list, int count)
{
    std::vector<int> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(TakeNumberBeforeDash(list));
    return ids;
}

int indexOfId(const TProjItem &project, int id)
{
    const TImageObjList *images = project.Images();
    for (int i = 0; i < images->Count(); ++i) {
        if (images->Items(i)->ID() == id)
            return i;
    }
    return -1;
}

bool liesInPreviewFolder(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    const QString previews = QFileInfo(ProgramFile(QStringLiteral("Images"))).absoluteFilePath();
    return folder.compare(previews, Qt::CaseInsensitive) == 0;
}

} // namespace

int NextObjectId()
{
    return ++objectIdCounter;
}

void ResetObjectIds()
{
    objectIdCounter = 0;
}

void KeepObjectIdsAbove(const TProjItem &project)
{
    for (int i = 0; i < project.Images()->Count(); ++i)
        objectIdCounter = std::max(objectIdCounter, project.Images()->Items(i)->ID());
    for (int i = 0; i < project.Audios()->Count(); ++i)
        objectIdCounter = std::max(objectIdCounter, project.Audios()->Items(i)->ID());
}

QString PictureFileFilter()
{
    return QStringLiteral(
        "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf)|*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf|"
        "Portable Network Graphics (*.png)|*.png|GIF Image (*.gif)|*.gif|"
        "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
        "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
}

QString WorkFolder()
{
    return ProgramFile(QStringLiteral("TempImg")) + u'/';
}

QString PreviewImagePath(int number)
{
    return ProgramFile(QStringLiteral("Images/testPic%1.jpeg").arg(number));
}

void CopyDefaultPreviewImages()
{
    CopyFolder(ProgramFile(QStringLiteral("Res/Images")), ProgramFile(QStringLiteral("Images")));
}

QString MakeThumbnail(const QString &source, int width, int height)
{
    QDir().mkpath(WorkFolder());
    const QString thumbnail = workFileName(source, QStringLiteral("_thumb.jpeg"));
    return setImageSize(source, thumbnail, width, height) ? thumbnail : source;
}

QString MakeEditFileName(const QString &source)
{
    return workFileName(source, QStringLiteral("_edt.jpeg"));
}

int AddPhotoToProject(TProjItem &project, const QString &source, const QString &thumbnail,
                      int position)
{
    auto photo = std::make_unique<TImageObj>();
    photo->SetSrcFile(source);
    photo->SetThumbFile(thumbnail);
    photo->SetID(NextObjectId());
    const int id = photo->ID();
    if (position < 0)
        project.Images()->Add(std::move(photo));
    else
        project.Images()->Insert(position, std::move(photo));
    return id;
}

TImageObj *FindPhotoById(const TProjItem &project, int id)
{
    const int index = indexOfId(project, id);
    return index < 0 ? nullptr : project.Images()->Items(index);
}

TImageObj *PhotoAt(const TProjItem &project, int position)
{
    if (position < 0 || position >= project.Images()->Count())
        return nullptr;
    return project.Images()->Items(position);
}

QString ImportPhotos(TProjItem &project, const QStringList &files, QProgressBar *progressBar)
{
    QProgressBar *bar = files.size() > 3 ? progressBar : nullptr;
    if (bar) {
        bar->setValue(0);
        bar->show();
    }
    // Plan every accepted file's thumbnail name and preview image as the serial import would
    // (each name taken before the next is chosen), then convert on all cores.
    const int before = project.Images()->Count();
    const qsizetype accepted = std::min<qsizetype>(files.size(), std::max(0, MaxPhotos - before));
    QDir().mkpath(WorkFolder());
    std::vector<std::unique_ptr<ImportJob>> jobs;
    JobsGuard guard{jobs};
    QSet<QString> reserved;
    for (qsizetype i = 0; i < accepted; ++i) {
        auto job = std::make_unique<ImportJob>();
        job->file = files[i];
        job->thumbnail = workFileName(job->file, QStringLiteral("_thumb.jpeg"), reserved);
        reserved.insert(job->thumbnail);
        const int number = before + int(i) + 1;
        if (number <= PreviewImageCount && !liesInPreviewFolder(job->file)) {
            job->preview = PreviewImagePath(number);
            QDir().mkpath(QFileInfo(job->preview).absolutePath());
        }
        jobs.push_back(std::move(job));
    }
    for (auto &job : jobs) {
        ImportJob *work = job.get();
        QThreadPool::globalInstance()->start([work] {
            const bool made = setImageSize(work->file, work->thumbnail, ThumbWidth, ThumbHeight);
            if (!work->preview.isEmpty())
                setImageSize(work->file, work->preview, PreviewWidth, PreviewHeight);
            work->made.set_value(made);
        });
    }

    QString elements;
    const auto add = [&](qsizetype i, const QString &thumbnail) {
        const int id = AddPhotoToProject(project, files[i], thumbnail, -1);
        elements += photoElement(thumbnail, files[i], id);
        showProgress(bar, i + 1, files.size());
    };
    for (qsizetype i = 0; i < accepted; ++i) {
        if (jobs[size_t(i)]->thumbnailMade.get()) {
            add(i, jobs[size_t(i)]->thumbnail);
            continue;
        }
        // A thumbnail that could not be made frees its name, so the names planned after it
        // may be wrong: the rest of the import runs one picture after the other.
        add(i, files[i]);
        for (qsizetype j = i + 1; j < accepted; ++j) {
            jobs[size_t(j)]->thumbnailMade.wait();
            QFile::remove(jobs[size_t(j)]->thumbnail);
        }
        for (qsizetype j = i + 1; j < accepted; ++j) {
            add(j, MakeThumbnail(files[j], ThumbWidth, ThumbHeight));
            if (!jobs[size_t(j)]->preview.isEmpty())
                setImageSize(files[j], jobs[size_t(j)]->preview, PreviewWidth, PreviewHeight);
        }
        break;
    }
    if (progressBar)
        progressBar->hide();
    return photosInvoke(elements);
}

bool DeletePhotos(TProjItem &project, const QString &idList, int count)
{
    const std::vector<int> ids = readIds(idList, count);
    bool previewDeleted = false;
    for (const int id : ids) {
        const int position = indexOfId(project, id);
        if (position < 0 || position >= PreviewImageCount)
            continue;
        const QString preview = PreviewImagePath(position + 1);
        if (QFile::exists(preview))
            QFile::remove(preview);
        previewDeleted = true;
    }
    for (const int id : ids) {
        const int position = indexOfId(project, id);
        if (position >= 0)
            project.Images()->Delete(position);
    }
    return previewDeleted;
}

void ReorderPhotos(TProjItem &project, const QString &idList)
{
    TImageObjList *images = project.Images();
    const std::vector<int> ids = readIds(idList, images->Count());
    for (int i = 0; i < images->Count(); ++i) {
        if (images->Items(i)->ID() == ids[size_t(i)])
            continue;
        const int from = indexOfId(project, ids[size_t(i)]);
        if (from >= 0)
            images->Move(from, i);
    }
}

void RefillPreviewImages(const TProjItem &project)
{
    const int filled = std::min(project.Images()->Count(), PreviewImageCount);
    int from = filled - 1;
    for (int k = 1; k <= filled; ++k) {
        const QString preview = PreviewImagePath(k);
        if (QFile::exists(preview))
            continue;
        const TImageObj *photo = project.Images()->Items(from--);
        writePreview(photo->ISEdit() ? photo->EditFile() : photo->SrcFile(), k);
    }
}

QString ReloadPhotosXml(TProjItem &project, QProgressBar *progressBar)
{
    KeepObjectIdsAbove(project);
    if (progressBar) {
        progressBar->setValue(0);
        progressBar->show();
    }
    const int count = project.Images()->Count();
    QString elements;
    for (int i = 0; i < count; ++i) {
        const TImageObj *photo = project.Images()->Items(i);
        QString thumbnail;
        if (photo->ISEdit()) {
            const QString kept = WorkFolder() + QFileInfo(photo->ThumbFile()).fileName();
            thumbnail = QFile::exists(kept) ? kept
                                            : MakeThumbnail(photo->SrcFile(), ThumbWidth, ThumbHeight);
        } else {
            thumbnail = MakeThumbnail(photo->SrcFile(), ThumbWidth, ThumbHeight);
        }
        elements += photoElement(thumbnail, photo->SrcFile(), photo->ID());
        showProgress(progressBar, i + 1, count);
        if (i < PreviewImageCount)
            writePreview(photo->SrcFile(), i + 1);
    }
    if (progressBar)
        progressBar->hide();
    return count > 0 ? photosInvoke(elements) : QString();
}

void RemoveMissingFiles(TProjItem &project, QStringList &missing)
{
    TImageObjList *images = project.Images();
    for (int i = 0; i < images->Count();) {
        if (QFile::exists(images->Items(i)->SrcFile())) {
            ++i;
            continue;
        }
        missing << images->Items(i)->SrcFile();
        images->Delete(i);
    }
    TAudioList *audios = project.Audios();
    for (int i = 0; i < audios->Count();) {
        if (QFile::exists(audios->Items(i)->FileName())) {
            ++i;
            continue;
        }
        missing << audios->Items(i)->FileName();
        audios->Delete(i);
    }
}

bool CheckHasPhotos(const TProjItem &project, QWidget *parent)
{
    if (project.Images()->Count() > 0)
        return true;
    ShowMessage(parent, LangText(QStringLiteral("msg_thereis")));
    return false;
}

bool CheckPhotoLimit(const TProjItem &project, QWidget *parent)
{
    if (project.Images()->Count() < MaxPhotos)
        return true;
    ShowMessage(parent, LangText(QStringLiteral("msg_max_photo")));
    return false;
}
