// The progress window and its worker on a program folder with the real publishing data files:
// success by kind, failure, cancelling from both buttons, and the preview hand-off.
#include "DialogFixture.h"
#include "project/ProjectDefaults.h"
#include "publish/UOutputFiles.h"
#include "publish/UProcess.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString DataDir = QStringLiteral(PROGRAM_FOLDER "/");

// Sees every progress report before the progress window handles it: records the stage text the
// window showed until then, and acts on the window at the report that begins `stage`.
class StageWatcher final : public QObject {
public:
    StageWatcher(int stage, std::function<void(TFrmProcess &)> action) : Stage(stage), Action(std::move(action)) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<TFrmProcess *>(watched);
        if (!window || int(event->type()) != PublishProgressMessage)
            return false;
        if (Labels.isEmpty() || Labels.last() != window->edtShow->text())
            Labels << window->edtShow->text();
        if (static_cast<TMessageEvent *>(event)->lParam() == Stage) {
            ++Seen;
            if (Action)
                Action(*window);
        }
        return false;
    }
    const int Stage;
    std::function<void(TFrmProcess &)> Action;
    int Seen = 0;
    QStringList Labels;
};

class ProgressWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        for (const char *name : {"Res/BaseFlash.swf", "Res/TemplateXML.xml", "libavcodec-52.dll", "libavformat-52.dll",
                                 "Slideplay.exe", "Saverhost.exe"}) {
            WriteTestFile(ProgramDir() + name, ReadTestFile(DataDir + name));
            QFile::setPermissions(ProgramDir() + name, QFile::permissions(DataDir + name));
        }
        qputenv("XDG_DATA_HOME", (TestDir() + "data").toUtf8());
        ApplyStartupValues(project);
        for (int i = 0; i < 3; ++i)
            AddPhoto(project, MakePicture(QString("photo%1.png").arg(i), 320, 240, QColor(60 * i, 90, 200)));
        QDir().mkpath(TestDir() + "out");
    }
    void TearDown() override
    {
        qunsetenv("XDG_DATA_HOME");
        DialogTest::TearDown();
    }

    // Publishes with output kind `kind` to `output` and returns once the window has gone.
    void Publish(int kind, const QString &output, StageWatcher *watcher = nullptr)
    {
        project.SetOutputKind(uint8_t(kind));
        project.SetOutputPath(output);
        // Seen by the application before any window gets an event, so no report is missed.
        if (watcher)
            qApp->installEventFilter(watcher);
        ShowPublishProgress(kind, &mainWindow, project);
        if (watcher)
            qApp->removeEventFilter(watcher);
    }

    TProjItem project;
};

TEST_F(ProgressWindowTest, MoviePublishShowsTheSuccessMessageAndTheFileInTheFileManager)
{
    const QString output = TestDir() + "out/trip.swf";
    prompts.answers = {PromptAnswer::Ok};
    Publish(0, output);
    ASSERT_TRUE(QFileInfo(output).isFile());
    EXPECT_TRUE(ReadTestFile(output).contains("*****"));
    EXPECT_EQ(prompts.messages, QStringList({LangText("msg_publishsuccess")}));
    EXPECT_EQ(desktop.shown, QStringList({output}));
    EXPECT_FALSE(QFileInfo::exists(ProgramDir() + "Temp"));

    // Cancel in the success message shows nothing.
    prompts.messages.clear();
    desktop.shown.clear();
    prompts.answers = {PromptAnswer::Cancel};
    Publish(0, output);
    EXPECT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(desktop.shown.isEmpty());
}

TEST_F(ProgressWindowTest, MusicIsMixedFirstAndPackedIntoTheMovie)
{
    auto audio = std::make_unique<TAudio>();
    const QString song = TestDir() + "song.wav";
    WriteSilentWav(song, 4);
    audio->SetFileName(song);
    audio->SetBeginTime(0);
    audio->SetEndTime(4);
    project.Audios()->Add(std::move(audio));
    const QString output = TestDir() + "out/music.swf";
    prompts.answers = {PromptAnswer::Cancel};
    StageWatcher photos(PublishStagePhotos, nullptr);
    Publish(0, output, &photos);
    ASSERT_TRUE(QFileInfo(output).isFile());
    EXPECT_EQ(photos.Labels.value(0), "(1/3)  " + LangText("frm_publish_editmusic") + "...");
    EXPECT_TRUE(project.Seting()->UseMusic());
    EXPECT_GT(project.Seting()->CRTS(), 0);
}

TEST_F(ProgressWindowTest, ProgramAndWebPageAreBuiltFromTheMovie)
{
    prompts.answers = {PromptAnswer::Cancel, PromptAnswer::Cancel};
    Publish(1, TestDir() + "out/trip.exe");
    Publish(2, TestDir() + "out/page.html");
    EXPECT_TRUE(ReadTestFile(TestDir() + "out/trip.exe").startsWith(ReadTestFile(ProgramDir() + "Slideplay.exe")));
    EXPECT_TRUE(ReadTestFile(TestDir() + "out/page.html").contains("page.swf"));
    EXPECT_TRUE(QFileInfo(TestDir() + "out/page.swf").isFile());
    EXPECT_EQ(prompts.messages, QStringList({LangText("msg_publishsuccess"), LangText("msg_publishsuccess")}));
}

TEST_F(ProgressWindowTest, FailureShowsOneMessageAndRemovesTheWorkFolder)
{
    QFile::remove(ProgramDir() + "libavcodec-52.dll"); // the template pack
    const QString output = TestDir() + "out/trip.swf";
    Publish(0, output);
    EXPECT_EQ(prompts.messages, QStringList({LangText("msg_failed_swf")}));
    EXPECT_FALSE(QFileInfo::exists(output));
    EXPECT_FALSE(QFileInfo::exists(ProgramDir() + "Temp"));
}

TEST_F(ProgressWindowTest, CancelDuringThePhotosLeavesTheOutputUntouched)
{
    const QString output = TestDir() + "out/trip.swf";
    for (const bool topRightButton : {false, true}) {
        WriteTestFile(output, "the previous movie");
        StageWatcher watcher(PublishStagePhotos, [topRightButton](TFrmProcess &window) {
            (topRightButton ? static_cast<QAbstractButton *>(window.BtnSubClose) : window.BtnCancel)->click();
        });
        Publish(0, output, &watcher);
        EXPECT_EQ(watcher.Seen, 1);
        EXPECT_EQ(ReadTestFile(output), "the previous movie") << topRightButton;
        EXPECT_TRUE(prompts.messages.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(ProgramDir() + "Temp"));
        EXPECT_TRUE(project.CancelRequested());
    }
}

TEST_F(ProgressWindowTest, PreviewPostsToTheMainWindowWithoutAMessage)
{
    StageWatcher packing(PublishStagePack, nullptr);
    Publish(5, {}, &packing);
    QCoreApplication::sendPostedEvents(&mainWindow);
    EXPECT_EQ(packing.Seen, 1);
    // Without music the window goes straight to stage 2: it never shows the stage 1 text.
    EXPECT_EQ(packing.Labels, QStringList({"", "(2/3)  " + LangText("frm_publish_edit") + "...",
                                           "(3/3)  " + LangText("frm_publish_create") + "..."}));
    EXPECT_EQ(mainWindow.Count(WindowMessage::PreviewReady), 1);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(QFileInfo(ProgramDir() + "TempImg/TempFlash.swf").isFile());
}

TEST_F(ProgressWindowTest, ScreenSaverIsInstalledIntoTheUsersFolder)
{
    const QString output = TestDir() + "out/trip.scr";
    Publish(4, output);
    const QString installed = ScreenSaverFolder() + "/trip.scr";
    EXPECT_EQ(ScreenSaverFolder(), TestDir() + "data/screensavers");
    EXPECT_EQ(ReadTestFile(installed), ReadTestFile(output));
    // No settings program on this desktop: the copy is shown where it was put.
    EXPECT_EQ(desktop.shown, QStringList({installed}));
    EXPECT_TRUE(prompts.messages.isEmpty());

    desktop.shown.clear();
    desktop.foundProgram = "/usr/bin/xscreensaver-settings";
    Publish(4, output);
    EXPECT_EQ(desktop.started, QStringList({"/usr/bin/xscreensaver-settings"}));
    EXPECT_TRUE(desktop.shown.isEmpty());

    QFile::remove(ProgramDir() + "Saverhost.exe");
    Publish(4, TestDir() + "out/other.scr");
    EXPECT_EQ(prompts.messages, QStringList({LangText("msg_failed_swf")}));
    EXPECT_FALSE(QFileInfo::exists(TestDir() + "out/other.scr"));
}

TEST_F(ProgressWindowTest, EmailStartsTheMailProgramOrSaysItCouldNot)
{
    const QString output = TestDir() + "out/trip.swf";
    Publish(3, output);
    const QString mailer = ProgramDir() + "Mailsend.exe";
    EXPECT_EQ(desktop.started, QStringList({mailer + " " + output}));
    EXPECT_EQ(prompts.messages, QStringList({mailer + " \"" + output + "\"" + LangText("msg_run_is_failed")}));

    prompts.messages.clear();
    WriteTestFile(mailer, "#!/bin/sh\n");
    QFile::setPermissions(mailer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Publish(3, output);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(QFileInfo(output).isFile());
}

} // namespace
