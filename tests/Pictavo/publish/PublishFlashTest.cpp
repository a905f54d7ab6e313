// The publish engine on a small program folder of its own.
#include "MovieFixtures.h"
#include "TestFiles.h"
#include "platform/AppError.h"
#include "project/UDataDef.h"
#include "publish/ProgressReceiver.h"
#include "publish/SWFStreamReader.h"
#include "publish/UPublishFlash.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Recorder : TProgressReceiver {
    void PublishProgress(int percent, int stage) override
    {
        reports.push_back({percent, stage});
        if (onProgress)
            onProgress(percent, stage);
    }
    void PublishNotice(const QString &text) override { notices << text; }
    std::vector<std::pair<int, int>> reports;
    QStringList notices;
    std::function<void(int, int)> onProgress;
};

QByteArray Block(const QByteArray &data)
{
    QByteArray block(4, '\0');
    for (int i = 0; i < 4; ++i)
        block[i] = char(quint32(data.size()) >> (24 - 8 * i));
    return block + data;
}

class PublishFlashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("LUMIVUE_HOME", home.path().toUtf8());
        WriteTestFile(Home("Res/BaseFlash.swf"), MakeMovie(false, 9, Rect550x400(), 0x1800, 1, SampleTags()));
        player = MakeMovie(true, 10, Rect550x400(), 0x1800, 1, SampleTags() + QByteArray(300, 'p'));
        WriteTestFile(Home("libavformat-52.dll"), player);
        // Two templates; the second is the selected one.
        first = MakeMovie(true, 9, Rect550x400(), 0x1800, 1, SampleTags());
        second = MakeMovie(false, 9, Rect550x400(), 0x0C00, 2, SampleTags() + "second");
        WriteTestFile(Home("libavcodec-52.dll"), Block(first) + Block(second));
        project.Seting()->SetWidth(960);
        project.Seting()->SetHeight(540);
        project.Template()->SetSelectOffset(quint32(4 + first.size()));
        project.Template()->SetSelectSize(quint32(second.size()));
        project.SetOutputKind(0);
        project.SetOutputPath(dir.filePath("out/gallery.swf"));
    }
    void TearDown() override { qunsetenv("LUMIVUE_HOME"); }

    QString Home(const QString &relative) const { return home.filePath(relative); }

    QString Picture(const QString &name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(40 + width % 200, 90, 160));
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        image.save(path, "JPEG");
        return path;
    }

    TImageObj &AddPhoto(const QString &source)
    {
        auto photo = std::make_unique<TImageObj>();
        photo->SetSrcFile(source);
        TImageObj &added = *photo;
        project.Images()->Add(std::move(photo));
        return added;
    }

    void RunPublish(int threads = 0)
    {
        TPublishFlash engine(project, receiver);
        engine.ImageThreads = threads;
        engine.PrepareImages();
        engine.Publish();
    }

    QTemporaryDir home, dir;
    QByteArray player, first, second;
    TProjItem project;
    Recorder receiver;
};

TEST(PublishImageBox, IsFourByThreeAndAtMost1600By1200)
{
    struct Case { int w, h, boxW, boxH; };
    for (const Case c : {Case{960, 540, 720, 540}, Case{800, 800, 800, 600}, Case{4000, 3000, 1600, 1200},
                         Case{1280, 720, 960, 720}, Case{1000, 2000, 1000, 750}, Case{641, 100, 133, 100}}) {
        EXPECT_EQ(TPublishFlash::ImageBox(c.w, c.h), QSize(c.boxW, c.boxH)) << c.w << "x" << c.h;
    }
}

TEST_F(PublishFlashTest, PhotosAreFittedNamedInOrderAndPackedAfterTheTemplate)
{
    AddPhoto(Picture("a/beach.jpg", 1024, 768));
    AddPhoto(Picture("b/beach.jpg", 800, 1000));
    TImageObj &edited = AddPhoto(Picture("c/harbour.jpg", 1024, 768));
    edited.SetISEdit(true);
    edited.SetEditFile(Picture("edits/harbour_edit.png", 500, 500));
    RunPublish();

    const QString work = Home("TempImg/");
    const TImageObjList &images = *project.Images();
    EXPECT_EQ(images.Items(0)->OutFile(), work + "beach_OutPut.jpeg");
    EXPECT_EQ(images.Items(1)->OutFile(), work + "beach_OutPut(1).jpeg");
    EXPECT_EQ(images.Items(2)->OutFile(), work + "harbour_edit_OutPut.jpeg");
    EXPECT_EQ(QImageReader(images.Items(0)->OutFile()).size(), QSize(720, 540));
    EXPECT_EQ(QImageReader(images.Items(1)->OutFile()).size(), QSize(432, 540));
    EXPECT_EQ(QImageReader(images.Items(2)->OutFile()).size(), QSize(500, 500)) << "packed from the edited copy";
    EXPECT_EQ(project.Seting()->ImgWidth(), 720);
    EXPECT_EQ(project.Seting()->ImgHeight(), 540);

    // Stage 2 and 3 begin with their codes, then percentages rise photo by photo.
    const std::vector<std::pair<int, int>> expected = {{0, PublishStagePhotos}, {33, 0}, {67, 0}, {100, 0},
                                                       {0, PublishStagePack},   {33, 0}, {67, 0}, {100, 0}};
    EXPECT_EQ(receiver.reports, expected);

    // The pack: base movie copy, the selected template's block, then the photos.
    const QByteArray base = ReadTestFile(Home("Res/BaseFlash.swf"));
    const TTemplate &templ = *project.Template();
    EXPECT_EQ(templ.MD5O(), quint32(base.size()));
    EXPECT_EQ(templ.CRTS(), quint32(second.size()));
    EXPECT_EQ(images.Items(0)->MD5O(), qint64(templ.MD5O()) + 4 + templ.SelectSize());
    EXPECT_FALSE(project.Seting()->UseMusic());
}

TEST_F(PublishFlashTest, FirstPhotoFollowsTheBackgroundPictureWhenOneIsPacked)
{
    AddPhoto(Picture("a/beach.jpg", 640, 480));
    TTemplate &templ = *project.Template();
    templ.SetThumbImg(Picture("bg/back.jpeg", 960, 540));
    for (const bool withBackground : {false, true}) {
        templ.SetUseBgImage(withBackground);
        templ.SetImgOffset(7); // kept when no picture is packed
        templ.SetImgSize(9);
        RunPublish();
        const qint64 photo = project.Images()->Items(0)->MD5O();
        if (withBackground) {
            EXPECT_EQ(templ.ImgSize(), quint32(QFileInfo(templ.ThumbImg()).size()));
            EXPECT_EQ(templ.ImgOffset(), templ.MD5O() + 4 + templ.SelectSize());
            EXPECT_EQ(photo, qint64(templ.MD5O()) + 4 + templ.SelectSize() + 4 + templ.ImgSize());
        } else {
            EXPECT_EQ(templ.ImgOffset(), 7u);
            EXPECT_EQ(templ.ImgSize(), 9u);
            EXPECT_EQ(photo, qint64(templ.MD5O()) + 4 + templ.SelectSize());
        }
    }
}

TEST_F(PublishFlashTest, ImagesAreReusedUntilTheBoxChanges)
{
    TImageObj &photo = AddPhoto(Picture("a/beach.jpg", 1024, 768));
    RunPublish();
    const QString firstOut = photo.OutFile();
    RunPublish();
    EXPECT_EQ(photo.OutFile(), firstOut) << "same size: the earlier image is reused";

    project.Seting()->SetWidth(1280);
    project.Seting()->SetHeight(720);
    RunPublish();
    EXPECT_NE(photo.OutFile(), firstOut);
    EXPECT_EQ(QImageReader(photo.OutFile()).size(), QSize(960, 720));

    // A lost image is made again even when the box is the same.
    QFile::remove(photo.OutFile());
    RunPublish();
    EXPECT_EQ(QImageReader(photo.OutFile()).size(), QSize(960, 720));
}

TEST_F(PublishFlashTest, ImagesOfAnotherPhotoAreNeverTakenForOnesOwn)
{
    // Both images of an earlier publish are gone, and the photos were swapped since: the first
    // photo's new image takes the name the second photo's old image had.
    TImageObj &wide = AddPhoto(Picture("b/beach.jpg", 1024, 768));
    TImageObj &tall = AddPhoto(Picture("a/beach.jpg", 600, 800));
    project.Seting()->SetImgWidth(720);
    project.Seting()->SetImgHeight(540);
    wide.SetOutFile(Home("TempImg/beach_OutPut(1).jpeg"));
    tall.SetOutFile(Home("TempImg/beach_OutPut.jpeg"));
    RunPublish();
    EXPECT_EQ(QImageReader(wide.OutFile()).size(), QSize(720, 540));
    EXPECT_EQ(QImageReader(tall.OutFile()).size(), QSize(405, 540));
}

TEST_F(PublishFlashTest, ParallelPreparationGivesTheSerialResult)
{
    const char *names[] = {"a/one.jpg", "b/one.jpg", "c/two.jpg", "d/one.jpg", "e/three.jpg", "f/two.jpg"};
    int width = 900;
    for (const char *name : names)
        AddPhoto(Picture(name, width += 37, 700));
    WriteTestFile(dir.filePath("g/broken.jpg"), "not a picture"); // packed unchanged
    AddPhoto(dir.filePath("g/broken.jpg"));

    auto publishWith = [&](int threads) {
        QDir(Home("TempImg")).removeRecursively();
        for (int i = 0; i < project.Images()->Count(); ++i)
            project.Images()->Items(i)->SetOutFile({});
        project.Seting()->SetImgWidth(0);
        receiver.reports.clear();
        RunPublish(threads);
        QStringList outFiles;
        for (int i = 0; i < project.Images()->Count(); ++i)
            outFiles << project.Images()->Items(i)->OutFile();
        return std::make_tuple(outFiles, ReadTestFile(project.OutputPath()), receiver.reports);
    };
    const auto serial = publishWith(1);
    const auto parallel = publishWith(4);
    EXPECT_EQ(std::get<0>(serial).value(3), Home("TempImg/one_OutPut(2).jpeg"));
    EXPECT_EQ(std::get<0>(serial).value(6), dir.filePath("g/broken.jpg"));
    EXPECT_EQ(std::get<0>(parallel), std::get<0>(serial));
    EXPECT_EQ(std::get<2>(parallel), std::get<2>(serial));
    EXPECT_FALSE(std::get<1>(serial).isEmpty());
    EXPECT_TRUE(std::get<1>(parallel) == std::get<1>(serial)) << "the published movies differ";
}

TEST_F(PublishFlashTest, OutputIsPlayerMarkerXmlAndPack)
{
    AddPhoto(Picture("a/beach.jpg", 1024, 768));
    AddPhoto(Picture("b/dunes.jpg", 300, 200));
    RunPublish();
    const QByteArray output = ReadTestFile(project.OutputPath());

    // The player, sized to the movie, byte for byte.
    TSWFStreamReader sized(Home("libavformat-52.dll"));
    sized.SetWidth(960);
    sized.SetHeight(540);
    QByteArray expectedPlayer;
    QBuffer buffer(&expectedPlayer);
    buffer.open(QIODevice::WriteOnly);
    sized.SaveToStream(buffer);
    ASSERT_TRUE(output.startsWith(expectedPlayer));
    qint64 at = expectedPlayer.size();
    EXPECT_EQ(output.mid(at, 5), "*****");
    at += 5;
    const quint32 xmlLength = BigEndianAt(output, at);
    const QByteArray xml = output.mid(at + 4, xmlLength);
    at += 4 + xmlLength;
    const QByteArray pack = output.mid(at + 4, BigEndianAt(output, at));
    ASSERT_EQ(at + 4 + pack.size(), output.size());

    // The XML is the project with the pack's offsets filled in.
    WriteTestFile(dir.filePath("embedded.xml"), xml);
    TProjItem embedded;
    embedded.LoadFromFile(dir.filePath("embedded.xml"));
    ASSERT_EQ(embedded.Images()->Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const TImageObj &photo = *embedded.Images()->Items(i);
        EXPECT_EQ(BigEndianAt(pack, photo.MD5O()), quint32(photo.CRTS()));
        EXPECT_EQ(pack.mid(photo.MD5O() + 4, photo.CRTS()), ReadTestFile(photo.OutFile()));
    }
    const TTemplate &templ = *embedded.Template();
    EXPECT_EQ(pack.mid(templ.MD5O(), 4 + templ.CRTS()), Block(second));
    EXPECT_TRUE(pack.startsWith(ReadTestFile(Home("Res/BaseFlash.swf"))));
}

TEST_F(PublishFlashTest, CancelDuringStageTwoLeavesTheOutputUntouched)
{
    for (int i = 0; i < 4; ++i)
        AddPhoto(Picture(QStringLiteral("p/photo%1.jpg").arg(i), 800, 600));
    WriteTestFile(project.OutputPath(), "the previous gallery");
    receiver.onProgress = [&](int percent, int stage) {
        if (stage == 0 && percent > 0)
            project.SetCancelRequested(true);
    };
    try {
        RunPublish(2);
        FAIL() << "the publish must stop";
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), "Cancel");
    }
    EXPECT_EQ(receiver.reports.size(), 2u) << "stopped before the second photo";
    EXPECT_EQ(ReadTestFile(project.OutputPath()), "the previous gallery");
    EXPECT_FALSE(QFileInfo::exists(Home("Temp/TempData.dat")));
    const QStringList left = QDir(Home("TempImg")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_LE(left.size(), 1) << left.join(", ").toStdString() << ": no encodes left lying around";
}

TEST_F(PublishFlashTest, MissingInputsFailWithTheirPaths)
{
    AddPhoto(Picture("a/beach.jpg", 640, 480));
    QFile::remove(Home("libavformat-52.dll"));
    try {
        RunPublish();
        FAIL() << "a missing player must fail the publish";
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), "File Not Found " + Home("Temp/FlashOutput.swf"));
    }
    EXPECT_EQ(receiver.notices, QStringList{Home("libavformat-52.dll") + " do not exists."});

    QFile::remove(Home("Res/BaseFlash.swf"));
    try {
        TPublishFlash engine(project, receiver);
        FAIL() << "a missing base movie must fail at once";
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), "File Not Found " + Home("Res/BaseFlash.swf"));
    }
}

TEST_F(PublishFlashTest, TemplateRangeMustHoldATemplate)
{
    AddPhoto(Picture("a/beach.jpg", 640, 480));
    project.Template()->SetSelectSize(project.Template()->SelectSize() + 1);
    EXPECT_THROW(RunPublish(), AppError);
    EXPECT_FALSE(QFileInfo::exists(project.OutputPath()));
}

} // namespace
