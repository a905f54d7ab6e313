// New, Open, Save and Save As on the main window with its real features, a recording control
// and scripted prompts.
#include "DialogFixture.h"
#include "UMsgBox.h"
#include "UProjectCommands.h"
#include "project/ProjectFile.h"

#include "UCommonPart.h"
#include "project/UPublicFunction.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

class ProjectCommandsTest : public DialogTest {
protected:
    // The main window with the program's own features.
    TFrmmain &OpenRealWindow()
    {
        window = std::make_unique<TFrmmain>(
            [this] {
                auto made = std::make_unique<TRecordingFlashControl>();
                control = made.get();
                return std::unique_ptr<TShockwaveFlash>(std::move(made));
            },
            QStringList());
        return *window;
    }

    TProjItem &Project() { return window->Project(); }

    TImageObj &AddSourcePhoto(const QString &name)
    {
        return AddPhoto(Project(), MakePicture(name));
    }

    // Gives the photo an edited copy, its edit script and its thumbnail in the work folder.
    void MarkEdited(TImageObj &photo, const QString &stem)
    {
        const QString work = ProgramDir() + "TempImg/";
        photo.SetEditFile(work + stem + "_edt.jpeg");
        photo.SetThumbFile(work + stem + "_thumb.jpeg");
        WriteTestFile(photo.EditFile(), "edited " + stem.toUtf8());
        WriteTestFile(EditScriptPath(photo.EditFile()), "<ImageProcess/>");
        WriteTestFile(photo.ThumbFile(), "thumb " + stem.toUtf8());
        photo.SetISEdit(true);
    }

    QString Saved(const QString &name) { return TestDir() + "projects/" + name; }
};

TEST_F(ProjectCommandsTest, SaveAsAppendsTheSuffixUnlessTheLastFourCharactersAreIt)
{
    OpenRealWindow();
    AddSourcePhoto("a.png");
    QDir().mkpath(Saved(""));
    const std::pair<const char *, const char *> cases[] = {
        {"trip", "trip.vlpj"}, {"trip.VLPJ", "trip.VLPJ"}, {"tripvlpj", "tripvlpj"}};
    for (const auto &[typed, written] : cases) {
        prompts.saveNames = {Saved(typed)};
        EXPECT_TRUE(window->Features().SaveProjectAs(*window)) << typed;
        EXPECT_TRUE(QFileInfo(Saved(written)).isFile()) << typed;
        EXPECT_EQ(window->ProjectFileName(), Saved(written));
        EXPECT_FALSE(Project().Modified());
    }
    EXPECT_EQ(prompts.dialogs.back().filter, "Project File (*.vlpj)|*.vlpj");
    EXPECT_EQ(window->RecentFolders().Folder(TRecentFolders::ProjectFolder), TestDir() + "projects");
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ProjectCommandsTest, SaveAsRefusesBadNamesAndKeepsAnExistingProjectOnNo)
{
    OpenRealWindow();
    AddSourcePhoto("a.png");
    for (const char *bad : {"a:b", "what?"}) {
        prompts.saveNames = {Saved(bad)};
        EXPECT_FALSE(window->Features().SaveProjectAs(*window));
        EXPECT_EQ(prompts.messages.takeLast(), LangText("msg_invalid_file"));
        EXPECT_FALSE(QFileInfo::exists(Saved(bad) + ".vlpj"));
    }
    WriteTestFile(Saved("trip.vlpj"), "older project");
    prompts.saveNames = {Saved("trip")};
    prompts.answers = {PromptAnswer::No};
    EXPECT_FALSE(window->Features().SaveProjectAs(*window));
    EXPECT_EQ(prompts.messages.takeLast(), LangText("msg_projectexists"));
    EXPECT_EQ(prompts.captions.takeLast(), "");
    EXPECT_EQ(ReadTestFile(Saved("trip.vlpj")), "older project");
    EXPECT_TRUE(window->ProjectFileName().isEmpty());

    prompts.saveNames = {Saved("trip")};
    prompts.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(window->Features().SaveProjectAs(*window));
    EXPECT_TRUE(ReadTestFile(Saved("trip.vlpj")).contains("<Plexo"));
}

TEST_F(ProjectCommandsTest, CompanionFolderHoldsTheThreeFilesOfEachEditedPhotoOnly)
{
    OpenRealWindow();
    AddSourcePhoto("a.png");
    TImageObj &edited = AddSourcePhoto("b.png");
    MarkEdited(edited, "b");
    const QString path = Saved("Trip.vlpj");
    ASSERT_TRUE(window->Features().SaveProjectTo(*window, path));
    const QString companion = TestDir() + "projects/Trip_vlpj";
    EXPECT_EQ(CompanionFolder(path), companion);
    EXPECT_EQ(QDir(companion).entryList(QDir::Files, QDir::Name), QStringList({"b_edt.jpeg", "b_edt.xml", "b_thumb.jpeg"}));

    // The edit undone: saving again leaves no companion folder.
    edited.SetISEdit(false);
    ASSERT_TRUE(window->Features().SaveProjectTo(*window, path));
    EXPECT_FALSE(QFileInfo::exists(companion));
}

TEST_F(ProjectCommandsTest, OpenRemovesAndListsMissingFilesAndRestoresEditedCopies)
{
    OpenRealWindow();
    AddSourcePhoto("a.png");
    TImageObj &second = AddSourcePhoto("b.png");
    MarkEdited(AddSourcePhoto("c.png"), "c");
    const QString lost = second.SrcFile();
    const QString path = Saved("Trip.vlpj");
    ASSERT_TRUE(window->Features().SaveProjectTo(*window, path));
    QFile::remove(lost);
    const QString editedCopy = Project().Images()->Items(2)->EditFile();
    DeleteFolder(ProgramDir() + "TempImg");

    // Another window run: a fresh window opens the project.
    OpenRealWindow();
    QStringList listed;
    QString text;
    WhenShown<TFrmMsgBox>([&](TFrmMsgBox &box) {
        for (int i = 0; i < box.filelist->count(); ++i)
            listed << box.filelist->item(i)->text();
        text = box.lblCode->text();
        box.BtnOk->click();
    });
    window->Features().OpenProject(*window, path);
    EXPECT_EQ(listed, QStringList({lost}));
    EXPECT_EQ(text, MissingFilesText("Trip.vlpj"));
    ASSERT_EQ(Project().Images()->Count(), 2);
    EXPECT_TRUE(Project().Modified());
    EXPECT_EQ(window->ProjectFileName(), path);
    EXPECT_EQ(ReadTestFile(editedCopy), "edited c");
    EXPECT_EQ(ReadTestFile(EditScriptPath(editedCopy)), "<ImageProcess/>");
    EXPECT_EQ(control->log, QStringList({"ClearAllImage", "AddPhoto", "ChangMainIndex"}));
}

TEST_F(ProjectCommandsTest, SaveOnAnUntitledProjectIsSaveAsAndAnEmptyProjectSavesNothing)
{
    OpenRealWindow();
    window->Features().SaveProject(*window);
    window->Features().SaveProjectAs(*window);
    EXPECT_TRUE(prompts.dialogs.empty());
    EXPECT_FALSE(window->Features().SaveProjectTo(*window, Saved("empty.vlpj")));
    EXPECT_FALSE(QFileInfo::exists(Saved("empty.vlpj")));

    AddSourcePhoto("a.png");
    QDir().mkpath(Saved(""));
    prompts.saveNames = {Saved("first")};
    Command("Menu_Save");
    ASSERT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(window->ProjectFileName(), Saved("first.vlpj"));
    // Named now: Save writes there without a dialog.
    AddSourcePhoto("b.png");
    Command("Menu_Save");
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_FALSE(Project().Modified());
}

TEST_F(ProjectCommandsTest, NewKeepsTheTemplateAndThePublishSize)
{
    OpenRealWindow();
    AddSourcePhoto("a.png");
    Project().Template()->SetTemplateID(3);
    Project().Seting()->SetWidth(1280);
    Project().Seting()->SetHeight(720);
    prompts.answers = {PromptAnswer::No};
    Command("Menu_New");
    EXPECT_EQ(prompts.messages, QStringList({LangText("msg_issave")}));
    EXPECT_EQ(Project().Images()->Count(), 0);
    EXPECT_EQ(Project().Template()->TemplateID(), 3);
    EXPECT_EQ(Project().Seting()->Width(), 1280);
    EXPECT_EQ(Project().Seting()->Height(), 720);
    EXPECT_TRUE(window->ProjectFileName().isEmpty());
    EXPECT_EQ(control->log, QStringList({"ClearAllImage", "ChangMainIndex"}));
    EXPECT_FALSE(QFileInfo::exists(ProgramDir() + "TempImg"));

    // Cancel keeps the project.
    AddSourcePhoto("b.png");
    prompts.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(NewProject(*window));
    EXPECT_EQ(Project().Images()->Count(), 1);
}

TEST_F(ProjectCommandsTest, ClosingAnUntitledProjectAsksAndCancelKeepsTheWindowOpen)
{
    OpenRealWindow();
    window->show();
    for (const char *name : {"a.png", "b.png", "c.png"})
        AddSourcePhoto(name);
    prompts.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompts.messages, QStringList({LangText("msg_issave")}));

    // Yes with a cancelled save dialog keeps it open too; No closes.
    prompts.answers = {PromptAnswer::Yes};
    EXPECT_FALSE(window->close());
    prompts.answers = {PromptAnswer::No};
    EXPECT_TRUE(window->close());
}

TEST_F(ProjectCommandsTest, HelpAndSupportGoToTheDesktop)
{
    OpenRealWindow();
    Command("Menu_Help");
    EXPECT_TRUE(desktop.opened.isEmpty()); // no help file: nothing, no message
    WriteTestFile(ProgramDir() + "lumivue.chm", "ITSF");
    WriteTestFile(ProgramDir() + "help/index.html", "<html></html>");
    Command("Menu_Help");
    Command("Menu_Support");
    WriteTestFile(ProgramDir() + "knilaxev.dat", "[LINK]\nsupport=https://help.example/\n");
    Command("Menu_Support");
    EXPECT_EQ(desktop.opened, QStringList({QUrl::fromLocalFile(ProgramDir() + "help/index.html").toString(),
                                           DefaultProductLink(), "https://help.example/"}));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

} // namespace
