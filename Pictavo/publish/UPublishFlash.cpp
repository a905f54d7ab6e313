#include "publish/UPublishFlash.h"

#include "platform/AppError.h"
#include "platform/ProgramFolder.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"
#include "publish/PhotoEncoder.h"
#include "publish/ProgressReceiver.h"
#include "publish/SWFStreamReader.h"
#include "publish/StreamIO.h"
#include "publish/UMixMusic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cmath>

namespace {

const QString BaseMovie = QStringLiteral("Res/BaseFlash.swf");
const QString TemplatePack = QStringLiteral("libavcodec-52.dll");
const QString PlayerMovie = QStringLiteral("libavformat-52.dll");
const QString DataPack = QStringLiteral("Temp/TempData.dat");
const QString SizedPlayer = QStringLiteral("Temp/FlashOutput.swf");
const QString ProjectXml = QStringLiteral("Temp/TemplateXML.xml");
const QString WorkFolder = QStringLiteral("TempImg");

// The size the publish dialog allows; larger stages do not fit the movie header's fields anyway.
constexpr int MaxMovieSide = 10000;

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

QString PackagedMoviePath()
{
    return ProgramFile(QStringLiteral("TempImg/TempFlash.swf"));
}

TPublishFlash::TPublishFlash(TProjItem &project, TProgressReceiver &progressWindow)
    : AppFolder(ProgramFolder()), Project(project), ProgressWindow(progressWindow)
{
    Pack = std::make_unique<TWriteFile>(ProgramFile(BaseMovie), ProgramFile(DataPack));
}

TPublishFlash::~TPublishFlash() = default;

QSize TPublishFlash::ImageBox(int width, int height)
{
    int w = std::min(width, 1600);
    int h = std::min(height, 1200);
    if (4 * h > 3 * w)
        h = RoundHalfEven(w * 0.75);
    else
        w = RoundHalfEven(h * 4.0 / 3.0);
    return {w, h};
}

QString TPublishFlash::OutputMoviePath() const
{
    switch (Project.OutputKind()) {
    case 0:
    case 3:
        if (Project.OutputPath().isEmpty())
            throw AppError(QStringLiteral("No output file was chosen"));
        return Project.OutputPath();
    default:
        return PackagedMoviePath();
    }
}

void TPublishFlash::CheckCancel() const
{
    if (Project.CancelRequested())
        throw AppError(QStringLiteral("Cancel"));
}

void TPublishFlash::SendProgress(int done, int count)
{
    ProgressWindow.PublishProgress(RoundHalfEven(done * 100.0 / count), 0);
}

QString TPublishFlash::MakeOutputImage(const QString &source, const QString &encoded)
{
    if (encoded.isEmpty())
        return source;
    const QString folder = ProgramFile(WorkFolder) + QLatin1Char('/');
    QDir().mkpath(folder);
    QString candidate = folder + QFileInfo(source).completeBaseName() + QStringLiteral("_OutPut.jpeg");
    const QString name = QFileInfo(candidate).fileName();
    candidate = UniqueFileName(candidate, name.left(name.indexOf(QLatin1Char('.'))), QStringLiteral(".jpeg"));
    if (!QFile::rename(encoded, candidate))
        throw AppError(QStringLiteral("Cannot write %1").arg(candidate));
    return candidate;
}

void TPublishFlash::PrepareImages()
{
    ProgressWindow.PublishProgress(0, PublishStagePhotos);
    TSeting &seting = *Project.Seting();
    if (seting.Width() < 1 || seting.Height() < 1 || seting.Width() > MaxMovieSide || seting.Height() > MaxMovieSide)
        throw AppError(QStringLiteral("The movie size %1 x %2 is not between 1 and %3 pixels")
                           .arg(seting.Width()).arg(seting.Height()).arg(MaxMovieSide));
    const QSize box = ImageBox(seting.Width(), seting.Height());
    const bool changed = box != QSize(seting.ImgWidth(), seting.ImgHeight());
    seting.SetImgWidth(box.width());
    seting.SetImgHeight(box.height());

    // Which photos need a new image is settled before anything is written, so an image written
    // now can never pass for another photo's image of an earlier publish.
    TImageObjList &images = *Project.Images();
    const int count = images.Count();
    const QString folder = ProgramFile(WorkFolder) + QLatin1Char('/');
    QDir().mkpath(folder);
    std::vector<int> jobOf(count, -1);
    std::vector<TPhotoEncoder::Job> jobs;
    for (int i = 0; i < count; ++i) {
        const TImageObj &photo = *images.Items(i);
        if (changed || !QFileInfo::exists(photo.OutFile())) {
            jobOf[i] = static_cast<int>(jobs.size());
            const QString source = photo.ISEdit() ? photo.EditFile() : photo.SrcFile();
            const QString encoding = QStringLiteral(".encoding-%1-%2.jpeg").arg(QCoreApplication::applicationPid()).arg(i);
            jobs.push_back({source, folder + encoding, box});
        }
    }
    const int threads = ImageThreads > 0 ? ImageThreads : QThread::idealThreadCount();
    TPhotoEncoder encoder(jobs, threads, [this] { return Project.CancelRequested(); });

    // Results are taken in list order: names are claimed as one photo after the other would.
    for (int i = 0; i < count; ++i) {
        CheckCancel();
        TImageObj &photo = *images.Items(i);
        if (jobOf[i] >= 0) {
            const TPhotoEncoder::Job &job = jobs[static_cast<size_t>(jobOf[i])];
            const TPhotoEncoder::Result result = encoder.Take(static_cast<size_t>(jobOf[i]));
            if (result == TPhotoEncoder::Result::NotRun) {
                CheckCancel();
                throw AppError(QStringLiteral("The photo %1 was not prepared").arg(job.Source));
            }
            photo.SetOutFile(MakeOutputImage(job.Source, result == TPhotoEncoder::Result::Written ? job.Target : QString()));
        }
        SendProgress(i + 1, count);
    }
}

void TPublishFlash::PackTemplate()
{
    CheckCancel();
    TTemplate &templ = *Project.Template();
    const QString packPath = ProgramFile(TemplatePack);
    QFile pack(packPath);
    if (!QFileInfo(packPath).isFile())
        RaiseFileNotFound(packPath);
    if (!pack.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open %1: %2").arg(packPath, pack.errorString()));
    // The block must be where the catalogue says, or the gallery would carry a broken movie.
    const qint64 offset = templ.SelectOffset();
    const qint64 size = templ.SelectSize();
    QByteArray prefix;
    if (pack.seek(offset))
        prefix = pack.read(4);
    if (prefix.size() != 4 || GetUInt32BE(prefix.constData()) != size || offset + 4 + size > pack.size())
        throw AppError(QStringLiteral("The template pack %1 holds no template of %2 bytes at offset %3")
                           .arg(packPath).arg(size).arg(offset));
    const TBlockPlace place = Pack->AppendRange(pack, size + 4, offset);
    templ.SetMD5O(place.Offset);
    templ.SetCRTS(templ.SelectSize());

    if (templ.UseBgImage() && QFileInfo(templ.ThumbImg()).isFile()) {
        const TBlockPlace picture = Pack->AppendFile(templ.ThumbImg());
        templ.SetImgOffset(picture.Offset);
        templ.SetImgSize(picture.Length);
    }
}

void TPublishFlash::PackPhotos()
{
    ProgressWindow.PublishProgress(0, PublishStagePack);
    TImageObjList &images = *Project.Images();
    const int count = images.Count();
    for (int i = 0; i < count; ++i) {
        CheckCancel();
        TImageObj &photo = *images.Items(i);
        const TBlockPlace place = Pack->AppendFile(photo.OutFile());
        photo.SetMD5O(place.Offset);
        photo.SetCRTS(place.Length);
        SendProgress(i + 1, count);
    }
}

void TPublishFlash::PackMusic()
{
    TSeting &seting = *Project.Seting();
    const QString music = MixedMusicPath();
    if (Project.Audios()->Count() == 0 || !QFileInfo(music).isFile()) {
        seting.SetUseMusic(false);
        return;
    }
    seting.SetUseMusic(true);
    const TBlockPlace place = Pack->AppendFile(music);
    seting.SetMD5O(place.Offset);
    seting.SetCRTS(place.Length);
}

void TPublishFlash::Publish()
{
    PackTemplate();
    PackPhotos();
    PackMusic();
    Pack->Commit();
    Pack.reset();

    const QString sized = ProgramFile(SizedPlayer);
    QFile::remove(sized);
    ResizeMovie(ProgramFile(PlayerMovie), sized, Project.Seting()->Width(), Project.Seting()->Height(), ProgressWindow);

    const QString xml = ProgramFile(ProjectXml);
    Project.SaveToFile(xml);

    TWriteFile output(sized, OutputMoviePath());
    output.AppendMarker();
    output.AppendFile(xml);
    output.AppendFile(ProgramFile(DataPack));
    output.Commit();
}
