// Photo import, thumbnails, the photos XML, deleting and reordering, and the preview images.

#include "ShellFixture.h"
#include "UPhotoList.h"
#include "project/UPublicFunction.h"

#include <QLabel>
#include <QProgressBar>

namespace {

// Counts how often a widget was shown.
struct ShowCounter : QObject {
    int shown = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        shown += event->type() == QEvent::Show;
        return false;
    }
};

QColor colourOf(const QString &picture)
{
    const QImage image(picture);
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

bool near(QColor a, QColor b)
{
    return a.isValid() && std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

QColor shade(int i)
{
    return QColor::fromHsv((i * 37) % 360, 200, 220);
}

} // namespace

class PhotoListTest : public ShellTest {
protected:
    QStringList MakePictures(int count, const QString &folder = QStringLiteral("in"))
    {
        QStringList files;
        for (int i = 0; i < count; ++i)
            files << MakePicture(QStringLiteral("%1/photo%2.png").arg(folder).arg(i), 800, 600, shade(i));
        return files;
    }
};

TEST_F(PhotoListTest, ImportingThreeGivesThePhotosXmlAndPreviewImages)
{
    TProjItem project;
    ResetObjectIds();
    const QStringList files = MakePictures(3);
    QProgressBar bar;
    ShowCounter counter;
    bar.installEventFilter(&counter);
    const QString invoke = ImportPhotos(project, files, &bar);

    QString elements;
    for (int i = 0; i < 3; ++i) {
        const QString thumb = WorkFolder() + QStringLiteral("photo%1_thumb.jpeg").arg(i);
        EXPECT_EQ(QImage(thumb).size(), QSize(240, 180));
        elements += QStringLiteral("<photo><thumb>%1</thumb><title>photo%2.png</title><id>%3</id>"
                                   "<time>%4</time><size>%5</size></photo>")
                        .arg(thumb).arg(i).arg(i + 1).arg(FileDateText(files[i]))
                        .arg(QFileInfo(files[i]).size());
        EXPECT_EQ(project.Images()->Items(i)->ID(), i + 1);
        EXPECT_EQ(project.Images()->Items(i)->ThumbFile(), thumb);
        EXPECT_EQ(QImage(PreviewImagePath(i + 1)).size(), QSize(640, 480));
        EXPECT_TRUE(near(colourOf(PreviewImagePath(i + 1)), shade(i)));
    }
    EXPECT_EQ(invoke, MakeInvokeText(QStringLiteral("AddPhoto"),
                                     {QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <photos>") +
                                      elements + QStringLiteral("</photos>")}));
    EXPECT_EQ(counter.shown, 0);
    EXPECT_FALSE(QFileInfo::exists(PreviewImagePath(4)));
}

TEST_F(PhotoListTest, ThumbnailNamesAreNumberedWhenTaken)
{
    const QString jpg = MakePicture(QStringLiteral("one/a.jpg"));
    const QString png = MakePicture(QStringLiteral("two/a.png"));
    const QString dotted = MakePicture(QStringLiteral("one/my.beach.jpg"));
    EXPECT_EQ(MakeThumbnail(jpg, 240, 180), WorkFolder() + QStringLiteral("a_thumb.jpeg"));
    EXPECT_EQ(MakeThumbnail(png, 240, 180), WorkFolder() + QStringLiteral("a_thumb(1).jpeg"));
    EXPECT_EQ(MakeThumbnail(dotted, 240, 180), WorkFolder() + QStringLiteral("my.beach_thumb.jpeg"));
    EXPECT_EQ(MakeThumbnail(dotted, 240, 180), WorkFolder() + QStringLiteral("my(1).jpeg"));
    EXPECT_EQ(MakeEditFileName(jpg), WorkFolder() + QStringLiteral("a_edt.jpeg"));
    // A picture that cannot be read keeps its own path as thumbnail.
    const QString broken = TestDir() + QStringLiteral("broken.jpg");
    WriteTestFile(broken, "not a picture");
    EXPECT_EQ(MakeThumbnail(broken, 240, 180), broken);
}

TEST_F(PhotoListTest, ImportNamesFollowTheOrderAlsoAfterAFailedThumbnail)
{
    TProjItem project;
    const QString broken = TestDir() + QStringLiteral("x/a.png");
    WriteTestFile(broken, "not a picture");
    const QStringList files{MakePicture(QStringLiteral("w/a.png")), broken,
                            MakePicture(QStringLiteral("y/a.png")), MakePicture(QStringLiteral("z/a.jpg"))};
    ImportPhotos(project, files, nullptr);
    ASSERT_EQ(project.Images()->Count(), 4);
    EXPECT_EQ(project.Images()->Items(0)->ThumbFile(), WorkFolder() + QStringLiteral("a_thumb.jpeg"));
    EXPECT_EQ(project.Images()->Items(1)->ThumbFile(), broken);
    EXPECT_EQ(project.Images()->Items(2)->ThumbFile(), WorkFolder() + QStringLiteral("a_thumb(1).jpeg"));
    EXPECT_EQ(project.Images()->Items(3)->ThumbFile(), WorkFolder() + QStringLiteral("a_thumb(2).jpeg"));
    EXPECT_FALSE(QFileInfo::exists(WorkFolder() + QStringLiteral("a_thumb(3).jpeg")));
    EXPECT_FALSE(QFileInfo::exists(PreviewImagePath(2)));
    EXPECT_TRUE(QFileInfo::exists(PreviewImagePath(4)));
}

TEST_F(PhotoListTest, ImportStopsAtTheLimitAndShowsTheLimitMessage)
{
    TFrmmain &main = OpenWindow();
    main.show();
    for (int i = 0; i < 490; ++i)
        AddPhotoToProject(main.Project(), QStringLiteral("/p/%1.jpg").arg(i), {}, -1);
    const QStringList files = MakePictures(20);
    prompts.files = {files};
    ShowCounter counter;
    main.ProgressBar()->installEventFilter(&counter);
    Command(QStringLiteral("AddPhoto"));
    EXPECT_EQ(main.Project().Images()->Count(), 500);
    ASSERT_EQ(control->calls.size(), 1);
    EXPECT_EQ(control->calls[0].count(QStringLiteral("<photo>")), 10);
    EXPECT_EQ(prompts.messages, QStringList({LangText(QStringLiteral("msg_max_photo"))}));
    EXPECT_EQ(counter.shown, 1);
    EXPECT_FALSE(main.ProgressBar()->isVisibleTo(&main));
    EXPECT_EQ(main.RecentFolders().Folder(TRecentFolders::PhotoFolder), TestDir() + QStringLiteral("in"));

    // At the limit no dialog opens.
    prompts.messages.clear();
    Command(QStringLiteral("AddPhoto"));
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(prompts.messages, QStringList({LangText(QStringLiteral("msg_max_photo"))}));
}

TEST_F(PhotoListTest, PicturesFromThePreviewFolderLeaveThePreviewImagesAlone)
{
    TProjItem project;
    WriteTestFile(PreviewImagePath(1), "default");
    const QString sample = ProgramDir() + QStringLiteral("Images/sample.png");
    QImage(100, 80, QImage::Format_RGB32).save(sample);
    ImportPhotos(project, {sample}, nullptr);
    EXPECT_EQ(project.Images()->Count(), 1);
    EXPECT_EQ(ReadTestFile(PreviewImagePath(1)), "default");
}

TEST_F(PhotoListTest, DeletingRefillsThePreviewHolesFromTheEnd)
{
    TFrmmain &main = OpenWindow();
    Command(QStringLiteral("Template_Selected"), {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")});
    prompts.files = {MakePictures(5)};
    Command(QStringLiteral("AddPhoto"));
    control->log.clear();

    Command(QStringLiteral("DelPhoto"), {QStringLiteral("3-"), QStringLiteral("1")});
    ASSERT_EQ(main.Project().Images()->Count(), 4);
    EXPECT_EQ(FindPhotoById(main.Project(), 3), nullptr);
    EXPECT_TRUE(near(colourOf(PreviewImagePath(3)), shade(4)));
    EXPECT_TRUE(near(colourOf(PreviewImagePath(4)), shade(3)));
    EXPECT_EQ(control->log, QStringList({"SetReLoadImage", "<StopPlay>"}));
    EXPECT_EQ(main.findChild<QLabel *>(QStringLiteral("LabImageCount"))->text(), QStringLiteral("4 photos"));

    // A list whose last ID lacks its "-" is a conversion error; nothing is deleted.
    Command(QStringLiteral("DelPhoto"), {QStringLiteral("4-5"), QStringLiteral("2")});
    EXPECT_EQ(main.Project().Images()->Count(), 4);
    EXPECT_EQ(prompts.messages.last(), QStringLiteral("'' is not a valid integer value"));
    Command(QStringLiteral("DelPhoto"), {QStringLiteral("4-9-"), QStringLiteral("2")});
    EXPECT_EQ(main.Project().Images()->Count(), 3);
    EXPECT_EQ(FindPhotoById(main.Project(), 4), nullptr);
}

TEST_F(PhotoListTest, DeletingEveryPhotoRestoresTheDefaultPreviews)
{
    WriteTestFile(ProgramDir() + QStringLiteral("Res/Images/testPic1.jpeg"), "default 1");
    TFrmmain &main = OpenWindow();
    prompts.files = {MakePictures(2)};
    Command(QStringLiteral("AddPhoto"));
    EXPECT_NE(ReadTestFile(PreviewImagePath(1)), "default 1");
    Command(QStringLiteral("DelPhoto"), {QStringLiteral("1-2-"), QStringLiteral("2")});
    EXPECT_EQ(main.Project().Images()->Count(), 0);
    EXPECT_EQ(ReadTestFile(PreviewImagePath(1)), "default 1");
}

TEST_F(PhotoListTest, ReorderingFollowsTheListAndNeedsOneIdPerPhoto)
{
    TProjItem project;
    ResetObjectIds();
    for (int i = 0; i < 4; ++i)
        AddPhotoToProject(project, QStringLiteral("/p/%1.jpg").arg(i), {}, -1);
    const auto order = [&] {
        QStringList ids;
        for (int i = 0; i < project.Images()->Count(); ++i)
            ids << QString::number(project.Images()->Items(i)->ID());
        return ids.join(u',');
    };
    EXPECT_THROW(ReorderPhotos(project, QStringLiteral("4-3-")), AppError);
    EXPECT_EQ(order(), QStringLiteral("1,2,3,4"));
    ReorderPhotos(project, QStringLiteral("3-1-4-2-"));
    EXPECT_EQ(order(), QStringLiteral("3,1,4,2"));
    ReorderPhotos(project, QStringLiteral("77-2-4-1-")); // unknown IDs are skipped
    EXPECT_EQ(order(), QStringLiteral("3,2,4,1"));
}

TEST_F(PhotoListTest, ReopenedProjectRebuildsTheListAndKeepsIdsUnique)
{
    TProjItem project;
    ResetObjectIds();
    const QStringList files = MakePictures(14);
    for (int i = 0; i < 14; ++i) {
        auto photo = std::make_unique<TImageObj>();
        photo->SetID(100 + i);
        photo->SetSrcFile(files[i]);
        project.Images()->Add(std::move(photo));
    }
    const QString invoke = ReloadPhotosXml(project, nullptr);
    EXPECT_EQ(invoke.count(QStringLiteral("<photo>")), 14);
    EXPECT_TRUE(invoke.contains(QStringLiteral("<id>113</id>")));
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(near(colourOf(PreviewImagePath(i + 1)), shade(i))) << i;
    EXPECT_FALSE(QFileInfo::exists(PreviewImagePath(13)));
    EXPECT_EQ(NextObjectId(), 114);

    project.Images()->Clear();
    EXPECT_EQ(ReloadPhotosXml(project, nullptr), QString());
}

TEST_F(PhotoListTest, MissingFilesAreRemovedAndListed)
{
    TProjItem project;
    const QString kept = MakePicture(QStringLiteral("kept.png"));
    AddPhotoToProject(project, TestDir() + QStringLiteral("gone1.png"), {}, -1);
    AddPhotoToProject(project, TestDir() + QStringLiteral("gone2.png"), {}, -1);
    AddPhotoToProject(project, kept, {}, -1);
    auto music = std::make_unique<TAudio>();
    music->SetFileName(TestDir() + QStringLiteral("song.mp3"));
    project.Audios()->Add(std::move(music));
    QStringList missing;
    RemoveMissingFiles(project, missing);
    EXPECT_EQ(missing, QStringList({TestDir() + "gone1.png", TestDir() + "gone2.png", TestDir() + "song.mp3"}));
    ASSERT_EQ(project.Images()->Count(), 1);
    EXPECT_EQ(project.Images()->Items(0)->SrcFile(), kept);
    EXPECT_EQ(project.Audios()->Count(), 0);
}
