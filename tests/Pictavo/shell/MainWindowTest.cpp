// The main window: start-up defaults, the recent-folders file, shape, close query and close,
// and the single running instance.

#include "ShellFixture.h"
#include "UPhotoList.h"
#include "platform/SingleInstance.h"
#include "platform/WindowMessages.h"
#include "project/UPublicFunction.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QToolButton>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

class MainWindowTest : public ShellTest {};

TEST_F(MainWindowTest, StartsWithTheProjectDefaultsAndLabels)
{
    WriteTestFile(ProgramDir() + QStringLiteral("Res/Images/testPic1.jpeg"), "default 1");
    WriteTestFile(ProgramDir() + QStringLiteral("images/testPic1.jpeg"), "old");
    WriteTestFile(ProgramDir() + QStringLiteral("libavcodec.dll"), "movie");
    TFrmmain &main = OpenWindow();
    const TSeting *seting = main.Project().Seting();
    EXPECT_EQ(seting->Width(), 960);
    EXPECT_EQ(seting->Height(), 540);
    EXPECT_EQ(seting->ImgQuality(), 85);
    EXPECT_TRUE(seting->MusicLoop());
    EXPECT_EQ(seting->OutType(), st_169);
    const TTemplate *templ = main.Project().Template();
    EXPECT_TRUE(templ->UseLight());
    EXPECT_EQ(templ->AutoDelay(), 5);
    EXPECT_EQ(templ->DragType(), st_Drag);
    EXPECT_EQ(templ->TemplateID(), 0);
    // The default preview images are copied over the preview folder, whatever its case.
    EXPECT_EQ(ReadTestFile(ProgramDir() + QStringLiteral("images/testPic1.jpeg")), "default 1");
    EXPECT_EQ(control->Movie(), ProgramDir() + QStringLiteral("libavcodec.dll"));
    EXPECT_EQ(main.findChild<QLabel *>(QStringLiteral("LabImageCount"))->text(), QStringLiteral("0 photos"));
    EXPECT_EQ(main.findChild<QLabel *>(QStringLiteral("lblFileName"))->text(), QStringLiteral("Untitled"));
    EXPECT_EQ(main.findChild<QLabel *>(QStringLiteral("LabCaption"))->text(), QStringLiteral("Vexasoft Lumivue"));
    EXPECT_EQ(main.objectName(), QStringLiteral("Frmmain"));
}

TEST_F(MainWindowTest, RecentFoldersFileIsUsedOnlyWithExactlyThreeLines)
{
    const QString file = ProgramDir() + QStringLiteral("TempData.dat");
    const QString working = DocumentsFolder() + QStringLiteral("/Vexasoft Lumivue/");
    const QStringList defaults{ProgramDir() + QStringLiteral("Res/images"), working, working};
    struct Case {
        QByteArray text;
        QStringList expected;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", defaults},
        {"a\r\nb\r\nc\r\n", {"a", "b", "c"}},
        {"a\nb\n\n", {"a", "b", ""}},
        {"a\r\nb\r\nc\r\nd\r\n", defaults},
        {"", defaults},
    };
    for (const Case &c : cases) {
        WriteTestFile(file, c.text);
        TRecentFolders folders;
        folders.Load();
        EXPECT_EQ(folders.Lines(), c.expected) << c.text.constData();
    }
    EXPECT_TRUE(QFileInfo(working).isDir());

    WriteTestFile(file, "a\r\nb\r\nc\r\n");
    TRecentFolders folders;
    folders.Load();
    folders.SetFolder(TRecentFolders::OutputFolder, QStringLiteral("/out"));
    folders.Save();
    EXPECT_EQ(ReadTestFile(file), "a\r\nb\r\n/out\r\n");
}

TEST_F(MainWindowTest, WindowHasRoundedCornersAndMaximisesToTheWorkArea)
{
    TFrmmain &main = OpenWindow();
    main.show();
    const QRegion mask = main.mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(main.width() - 1, 0)));
    EXPECT_TRUE(mask.contains(QPoint(6, 6)));
    EXPECT_TRUE(mask.contains(QPoint(main.width() / 2, 0)));
    EXPECT_EQ(control->Widget()->size(), main.findChild<QWidget *>(QStringLiteral("Pan"))->size());

    auto *maximise = main.findChild<QToolButton *>(QStringLiteral("Btnmax"));
    auto *normal = main.findChild<QToolButton *>(QStringLiteral("BtnNormal"));
    EXPECT_EQ(maximise->pos(), normal->pos());
    maximise->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(main.isMaximized());
    EXPECT_EQ(main.geometry(), main.screen()->availableGeometry());
    EXPECT_TRUE(normal->isVisibleTo(&main));
    EXPECT_FALSE(maximise->isVisibleTo(&main));
    normal->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(main.isMaximized());
    EXPECT_TRUE(maximise->isVisibleTo(&main));

    // A double click on the title bar toggles between maximised and normal.
    auto *title = main.findChild<QLabel *>(QStringLiteral("Image3"));
    const auto doubleClick = [&] {
        QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(40, 10), QPointF(40, 10),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(title, &event);
        QCoreApplication::processEvents();
    };
    doubleClick();
    EXPECT_TRUE(main.isMaximized());
    doubleClick();
    EXPECT_FALSE(main.isMaximized());
}

TEST_F(MainWindowTest, CloseQueryAsksOnlyForUnsavedPhotos)
{
    struct Case {
        int photos;
        bool titled;
        bool modified;
        std::deque<PromptAnswer> answers;
        bool saveResult;
        bool asked;
        bool mayClose;
        const char *saved;
    };
    const Case cases[] = {
        {0, false, true, {}, true, false, true, ""},
        {1, false, true, {PromptAnswer::No}, true, true, true, ""},
        {1, false, true, {PromptAnswer::Cancel}, true, true, false, ""},
        {1, false, true, {PromptAnswer::Yes}, false, true, false, "SaveProjectAs"},
        {1, false, true, {PromptAnswer::Yes}, true, true, true, "SaveProjectAs"},
        {1, true, false, {}, true, false, true, ""},
        {1, true, true, {PromptAnswer::Yes}, true, true, true, "SaveProjectTo /p/trip.vlpj"},
        {1, true, true, {PromptAnswer::Cancel}, true, true, false, ""},
    };
    for (const Case &c : cases) {
        TFrmmain &main = OpenWindow();
        for (int i = 0; i < c.photos; ++i)
            AddPhotoToProject(main.Project(), QStringLiteral("/p/%1.jpg").arg(i), {}, -1);
        if (c.titled)
            main.SetProjectFileName(QStringLiteral("/p/trip.vlpj"));
        main.Project().SetModified(c.modified);
        prompts.messages.clear();
        prompts.answers = c.answers;
        features->saveResult = c.saveResult;
        EXPECT_EQ(main.CloseQuery(), c.mayClose);
        EXPECT_EQ(!prompts.messages.isEmpty(), c.asked);
        EXPECT_EQ(features->calls.join(u','), QString::fromLatin1(c.saved));
    }
}

TEST_F(MainWindowTest, ClosingWritesTheRecentFoldersAndRemovesTheWorkFolder)
{
    TFrmmain &main = OpenWindow();
    WriteTestFile(WorkFolder() + QStringLiteral("x_thumb.jpeg"), "thumb");
    main.RecentFolders().SetFolder(TRecentFolders::PhotoFolder, QStringLiteral("/photos"));
    main.show();
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(QFileInfo::exists(WorkFolder()));
    EXPECT_TRUE(ReadTestFile(ProgramDir() + QStringLiteral("TempData.dat")).startsWith("/photos\r\n"));
    // Menu_Exit runs the same close query: with unsaved photos and Cancel, the window stays.
    TFrmmain &second = OpenWindow();
    LoadProgramLanguage();
    AddPhotoToProject(second.Project(), QStringLiteral("/p/a.jpg"), {}, -1);
    second.show();
    prompts.answers = {PromptAnswer::Cancel};
    Command(QStringLiteral("Menu_Exit"));
    EXPECT_TRUE(second.isVisible());
    EXPECT_EQ(prompts.messages.last(), LangText(QStringLiteral("msg_issave")));
}

TEST_F(MainWindowTest, ProjectNamedOnTheCommandLineOpensOnceTheUIIsReady)
{
    const QString project = TestDir() + QStringLiteral("trip.vlpj");
    WriteTestFile(project, "<Plexo/>");
    OpenWindow({project});
    EXPECT_TRUE(features->calls.isEmpty());
    Command(QStringLiteral("InitComplate"));
    EXPECT_EQ(features->calls, QStringList({QStringLiteral("OpenProject ") + project}));
    OpenWindow({TestDir() + QStringLiteral("missing.vlpj")});
    Command(QStringLiteral("InitComplate"));
    EXPECT_TRUE(features->calls.isEmpty());
}

namespace {

QString uniqueChannelName()
{
    static int serial = 0;
    return QStringLiteral("LumivueTest-%1-%2").arg(getpid()).arg(++serial);
}

// Runs the event loop until `done` or two seconds passed.
template <typename Done>
void waitFor(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

TEST_F(MainWindowTest, SecondInstanceForwardsItsPathToTheRunningOne)
{
    const QString name = uniqueChannelName();
    TInstanceChannel first(name);
    ASSERT_TRUE(first.Claim());
    TFrmmain &main = OpenWindow();
    QObject::connect(&first, &TInstanceChannel::messageReceived, &main,
                     [&main](const InstanceMessage &message) { main.HandleInstanceMessage(message); });

    const QString project = TestDir() + QStringLiteral("trip.vlpj");
    WriteTestFile(project, "<Plexo/>");
    TInstanceChannel second(name);
    EXPECT_FALSE(second.Claim());
    ASSERT_TRUE(second.Forward({TInstanceChannel::CopyDataMessage(project),
                                TInstanceChannel::CopyDataMessage(TestDir() + QStringLiteral("gone.vlpj"))}));
    waitFor([&] { return !features->calls.isEmpty(); });
    QCoreApplication::processEvents();
    EXPECT_EQ(features->calls, QStringList({QStringLiteral("OpenProject ") + project}));

    // A foreign sender's text without "##" names no file.
    const QString bare = project + QChar(0);
    EXPECT_EQ(TInstanceChannel::PathFromCopyData(QByteArray(
                  reinterpret_cast<const char *>(bare.utf16()), bare.size() * 2)),
              QString());
}

TEST_F(MainWindowTest, StartEndsWhenNoControlCanBeMadeOrAnotherInstanceRuns)
{
    const FlashControlFactory failing = []() -> std::unique_ptr<TShockwaveFlash> {
        throw AppError(QStringLiteral("no Qt Quick"));
    };
    const FlashControlFactory working = [] {
        return std::unique_ptr<TShockwaveFlash>(std::make_unique<TRecordingFlashControl>());
    };
    const QString name = uniqueChannelName();
    TInstanceChannel first(name);
    EXPECT_EQ(CheckBeforeWindow(failing, {}, first), 1);
    EXPECT_EQ(prompts.messages, QStringList({LangText(QStringLiteral("msg_adobe_flash_player"))}));
    EXPECT_EQ(prompts.captions, QStringList({LangText(QStringLiteral("msg_flash_player_detection"))}));
    EXPECT_EQ(CheckBeforeWindow(working, {}, first), std::nullopt);

    QList<InstanceMessage> received;
    QObject::connect(&first, &TInstanceChannel::messageReceived,
                     [&](const InstanceMessage &message) { received << message; });
    TInstanceChannel second(name);
    EXPECT_EQ(CheckBeforeWindow(working, {QStringLiteral("/p/trip.vlpj")}, second), 0);
    waitFor([&] { return received.size() == 2; });
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[0].message, quint32(WindowMessage::Restore));
    EXPECT_EQ(TInstanceChannel::PathFromCopyData(received[1].data), QStringLiteral("/p/trip.vlpj"));
}

TEST_F(MainWindowTest, WithoutAControlTheWindowOpensAndSkipsUICalls)
{
    window = std::make_unique<TFrmmain>(
        []() -> std::unique_ptr<TShockwaveFlash> { throw AppError(QStringLiteral("no Qt Quick")); },
        QStringList());
    EXPECT_EQ(window->FlashControl(), nullptr);
    EXPECT_EQ(prompts.messages, QStringList({LangText(QStringLiteral("msg_you_need_the_last"))}));
    EXPECT_NO_THROW(window->CallUI(QStringLiteral("ClearAllImage")));
}

TEST_F(MainWindowTest, ACrashedInstanceLeavesNothingThatBlocksTheNextStart)
{
    const QString name = uniqueChannelName();
    const pid_t child = fork();
    if (child == 0) {
        TInstanceChannel crashing(name);
        const bool claimed = crashing.Claim();
        ::kill(getpid(), claimed ? SIGKILL : SIGTERM);
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    TInstanceChannel next(name);
    EXPECT_TRUE(next.Claim());
}
