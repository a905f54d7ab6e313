// The publish settings dialog: linked size, extensions by kind, quality, and the checks of OK.
#include "DialogFixture.h"
#include "publish/UPublish.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

class PublishDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        project.Seting()->SetWidth(960);
        project.Seting()->SetHeight(540);
        project.Seting()->SetImgQuality(85);
        QDir().mkpath(OutDir());
    }
    QString OutDir() const { return TestDir() + "out"; }

    TProjItem project;
};

TEST_F(PublishDialogTest, WidthAndHeightFollowTheAspect)
{
    TFrmPublish dialog(&mainWindow, project, 0, OutDir());
    EXPECT_EQ(dialog.EdtWidth->value(), 960);
    EXPECT_EQ(dialog.EdtHeight->value(), 540);
    EXPECT_TRUE(dialog.Rad169->isChecked());
    dialog.EdtWidth->setValue(1280);
    EXPECT_EQ(dialog.EdtHeight->value(), 720);
    dialog.EdtHeight->setValue(600);
    EXPECT_EQ(dialog.EdtWidth->value(), 1067);
    // 4:3, recomputed from the width when chosen; Custom links nothing.
    dialog.Rad43->click();
    EXPECT_EQ(dialog.EdtHeight->value(), 800);
    dialog.EdtWidth->setValue(1000);
    EXPECT_EQ(dialog.EdtHeight->value(), 750);
    dialog.RadCus->click();
    dialog.EdtHeight->setValue(500);
    EXPECT_EQ(dialog.EdtWidth->value(), 1000);
    // Halves go to the even neighbour: 1000 × 9 / 16 = 562.5.
    dialog.Rad169->click();
    EXPECT_EQ(dialog.EdtHeight->value(), 562);
    EXPECT_EQ(dialog.EdtWidth->maximum(), 10000);
}

TEST_F(PublishDialogTest, ShownValuesComeFromTheProjectWithoutRelinking)
{
    project.Seting()->SetWidth(800);
    project.Seting()->SetHeight(800);
    project.Seting()->SetOutType(st_43);
    project.Seting()->SetImgQuality(75);
    TFrmPublish dialog(&mainWindow, project, 0, TestDir() + "no such folder");
    EXPECT_EQ(dialog.EdtHeight->value(), 800);
    EXPECT_TRUE(dialog.Rad43->isChecked());
    EXPECT_EQ(dialog.ComQuality->currentIndex(), 2); // "Low Quality"
    EXPECT_EQ(TFrmPublish::QualityOfIndex(dialog.ComQuality->currentIndex()), 100);
    EXPECT_TRUE(dialog.EdtPath->text().isEmpty());
    EXPECT_EQ(dialog.EdtName->text(), "sample.swf");
}

struct KindCase {
    int kind;
    const char *typed;
    const char *written;
    const char *hintKey; // nullptr: the hint stays hidden
};

TEST_F(PublishDialogTest, OkForcesTheKindsExtensionAndStoresTheOutputPath)
{
    const KindCase cases[] = {
        {0, "gallery.exe", "gallery.swf", "msg_click_here"},
        {1, "gallery.swf", "gallery.exe", nullptr},
        {2, "gallery.swf", "gallery.html", "msg_click_learn"},
        {3, "gallery.html", "gallery.swf", nullptr},
        {4, "gallery", "gallery.scr", nullptr},
    };
    for (const KindCase &test : cases) {
        project.SetOutputPath({});
        TFrmPublish dialog(&mainWindow, project, test.kind, OutDir() + "/");
        EXPECT_EQ(dialog.lblURLHint->isVisibleTo(&dialog), test.hintKey != nullptr) << test.kind;
        if (test.hintKey) {
            EXPECT_EQ(dialog.lblURLHint->text(), LangText(test.hintKey));
        }
        dialog.EdtName->setText(test.typed);
        dialog.Confirm();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << test.kind;
        // The folder already ends with "/": no second one.
        EXPECT_EQ(project.OutputPath(), OutDir() + "/" + test.written) << test.kind;
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(PublishDialogTest, OkRefusesBadNamesAndMissingFoldersAndAsksBeforeOverwriting)
{
    TFrmPublish dialog(&mainWindow, project, 0, OutDir());
    dialog.show();
    for (const char *bad : {"a:b.swf", "what?.swf", ""}) {
        dialog.EdtName->setText(bad);
        dialog.Confirm();
        EXPECT_EQ(prompts.messages.takeLast(), LangText("msg_the_following")) << bad;
        EXPECT_TRUE(dialog.isVisible());
    }
    dialog.EdtName->setText("trip.swf");
    dialog.EdtPath->setText(OutDir() + "/missing");
    dialog.Confirm();
    EXPECT_EQ(prompts.messages.takeLast(), LangText("msg_the_folder"));
    EXPECT_TRUE(project.OutputPath().isEmpty());

    WriteTestFile(OutDir() + "/trip.swf", "old movie");
    dialog.EdtPath->setText(" " + OutDir() + " ");
    prompts.answers = {PromptAnswer::Cancel};
    PressKey(dialog.EdtName, Qt::Key_Return); // Enter anywhere is OK
    EXPECT_EQ(prompts.messages.takeLast(), LangText("msg_the_output"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(project.OutputPath().isEmpty());

    prompts.answers = {PromptAnswer::Ok};
    dialog.Confirm();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(project.OutputPath(), OutDir() + "/trip.swf");
    EXPECT_EQ(dialog.RecentOutputFolder(), " " + OutDir() + " ");
}

TEST_F(PublishDialogTest, HintLabelOpensTheHelpTopicOfTheKind)
{
    WriteTestFile(ProgramDir() + "lumivue.chm", "ITSF");
    WriteTestFile(ProgramDir() + "help/faq.html", "<html></html>");
    for (int kind : {0, 2}) {
        TFrmPublish dialog(&mainWindow, project, kind, OutDir());
        dialog.show();
        ClickWidget(dialog.lblURLHint);
    }
    const QString page = QUrl::fromLocalFile(ProgramDir() + "help/faq.html").toString();
    EXPECT_EQ(desktop.opened, QStringList({page + "#share_swf_website", page + "#share_html_website"}));

    // With a viewer for compiled help installed, the help file itself is opened.
    desktop.opened.clear();
    desktop.foundProgram = "/usr/bin/xchm";
    TFrmPublish dialog(&mainWindow, project, 0, OutDir());
    dialog.show();
    ClickWidget(dialog.lblURLHint);
    EXPECT_EQ(desktop.opened, QStringList({QUrl::fromLocalFile(ProgramDir() + "lumivue.chm").toString()}));
}

TEST_F(PublishDialogTest, CancelLeavesEverythingAsItWas)
{
    project.SetOutputPath("/kept/path.swf");
    WhenShown<TFrmPublish>([](TFrmPublish &dialog) {
        dialog.EdtWidth->setValue(1600);
        dialog.EdtName->setText("other.swf");
        dialog.btnLater->click();
    });
    TFrmPublish dialog(&mainWindow, project, 0, OutDir());
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(project.OutputPath(), "/kept/path.swf");
    EXPECT_EQ(project.Seting()->Width(), 960);
}

} // namespace
