// The template settings dialog: filling, capabilities from the catalogue, live changes with their
// 0x177A sends, and what OK and the close button store.
#include "DialogFixture.h"
#include "templates/TemplateInfo.h"
#include "templates/UTemplateSet.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

namespace {

class TemplateSetTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        // Template 3 can be dragged and follows the cursor, but neither scrolls nor has a spotlight.
        WriteTestFile(ProgramDir() + "Res/TemplateXML.xml",
                      "<ProjName><Templates>"
                      "<Item><TemplateID>3</TemplateID><MD5O>1515</MD5O><CRTS>10515</CRTS><mousedrag>True</mousedrag>"
                      "<autocursor>TRUE</autocursor><autoscroll>false</autoscroll><usespotlight>no</usespotlight></Item>"
                      "<Item><TemplateID>4</TemplateID><MD5O>515</MD5O><CRTS>600</CRTS><mousedrag>true</mousedrag>"
                      "<autocursor>true</autocursor><autoscroll>true</autoscroll><usespotlight>true</usespotlight></Item>"
                      "</Templates></ProjName>");
        TTemplate &templ = *project.Template();
        templ.SetTemplateID(4);
        templ.SetDragType(st_Drag);
        templ.SetUseLight(true);
        templ.SetAutoDelay(5);
    }

    // Shows the dialog, runs `steps` on it, and returns what 0x177A sends it made (their lParams).
    std::vector<qint64> Run(std::function<void(TFrmTemplateSet &)> steps)
    {
        WhenShown<TFrmTemplateSet>(std::move(steps));
        ShowTemplateSettings(&mainWindow, project);
        std::vector<qint64> sends;
        for (const auto &[message, lParam] : mainWindow.messages)
            if (message == WindowMessage::TemplateChanged)
                sends.push_back(lParam);
        return sends;
    }

    TProjItem project;
};

TEST_F(TemplateSetTest, FillsFromTheProjectWithoutSendingAnything)
{
    project.Template()->SetBgColor(StoredBgColor(QColor(0, 0, 128)));
    project.Template()->SetUseFrame(true);
    project.Template()->SetAutoLoop(true);
    project.Template()->SetDragType(st_Influence);
    bool filled = false;
    const auto sends = Run([&](TFrmTemplateSet &dialog) {
        filled = dialog.color->currentText() == "Navy" && dialog.chkFrame->isChecked() && dialog.ChkLight->isChecked() &&
                 dialog.ChkAutoLoop->isChecked() && !dialog.chkAutoPlay->isChecked() && dialog.RadIn->isChecked() &&
                 dialog.edtDelay->value() == 5 && !dialog.edtImage->isEnabled() && dialog.RadAuto->isEnabled();
        dialog.BtnClose->click();
    });
    EXPECT_TRUE(filled);
    EXPECT_TRUE(sends.empty());
}

TEST_F(TemplateSetTest, CapabilitiesDisableAndClearWhatTheTemplateLacks)
{
    project.Template()->SetTemplateID(3);
    project.Template()->SetDragType(st_Auto);
    bool cleared = false;
    const auto sends = Run([&](TFrmTemplateSet &dialog) {
        cleared = !dialog.RadAuto->isEnabled() && !dialog.RadAuto->isChecked() && !dialog.ChkLight->isEnabled() &&
                  !dialog.ChkLight->isChecked() && dialog.RadDrag->isEnabled() && dialog.RadIn->isEnabled() &&
                  !dialog.RadDrag->isChecked() && !dialog.RadIn->isChecked();
        dialog.chkFrame->click(); // the next live change stores what the controls now say
        dialog.BtnClose->click();
    });
    EXPECT_TRUE(cleared);
    EXPECT_EQ(project.Template()->DragType(), st_Drag);
    EXPECT_FALSE(project.Template()->UseLight());
    EXPECT_EQ(sends, std::vector<qint64>({0}));
}

TEST_F(TemplateSetTest, WithoutACatalogueEntryEverythingIsEnabled)
{
    project.Template()->SetTemplateID(99);
    bool enabled = false;
    Run([&](TFrmTemplateSet &dialog) {
        enabled = dialog.RadDrag->isEnabled() && dialog.RadIn->isEnabled() && dialog.RadAuto->isEnabled() &&
                  dialog.ChkLight->isEnabled();
        dialog.BtnClose->click();
    });
    EXPECT_TRUE(enabled);
}

TEST_F(TemplateSetTest, LiveChangesSendAndOnlyScrollingAsksForAReload)
{
    const auto sends = Run([&](TFrmTemplateSet &dialog) {
        dialog.RadIn->click();
        dialog.ChkFill->click();
        dialog.edtDelay->setValue(8);
        dialog.color->setCurrentIndex(dialog.color->findText("Red"));
        dialog.BtnClose->click();
    });
    EXPECT_EQ(sends, std::vector<qint64>({1, 0, 0, 0}));
    const TTemplate &templ = *project.Template();
    EXPECT_EQ(templ.DragType(), st_Influence);
    EXPECT_TRUE(templ.UseFill());
    EXPECT_EQ(templ.AutoDelay(), 8);
    EXPECT_EQ(templ.BgColor(), 16711680);
    EXPECT_TRUE(MakeTemplateInfoXml(templ).contains("<colorvalue>16711680</colorvalue>"));
    EXPECT_TRUE(MakeTemplateInfoXml(templ).contains("<dragtype>influence move</dragtype>"));
}

TEST_F(TemplateSetTest, PlaybackOptionsAreStoredByOkOnly)
{
    Run([](TFrmTemplateSet &dialog) {
        dialog.ChkAutoLoop->click();
        dialog.ChkFullPlay->click();
        dialog.BtnClose->click();
    });
    EXPECT_FALSE(project.Template()->AutoLoop());
    EXPECT_FALSE(project.Template()->FullPlay());

    const auto sends = Run([](TFrmTemplateSet &dialog) {
        dialog.ChkAutoLoop->click();
        dialog.chkAutoPlay->click();
        dialog.BtnOk->click();
    });
    EXPECT_TRUE(sends.empty());
    EXPECT_TRUE(project.Template()->AutoLoop());
    EXPECT_TRUE(project.Template()->AutoPlay());
    EXPECT_FALSE(project.Template()->FullPlay());
}

TEST_F(TemplateSetTest, BackgroundImageBrowsesWhenThePathIsNotAFile)
{
    // Ticked with an empty path: the browse dialog at once; cancelled, nothing is applied.
    auto sends = Run([](TFrmTemplateSet &dialog) {
        dialog.ChkImage->click();
        dialog.BtnClose->click();
    });
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_TRUE(sends.empty());
    EXPECT_FALSE(project.Template()->UseBgImage());

    // Chosen: the picture and a fresh thumbnail go into the project, and the UI hears of it.
    const QString picture = MakePicture("backdrop.png", 1920, 1080);
    prompts.files.push_back({picture});
    project.Template()->SetThumbImg("/stale/thumbnail.jpeg");
    sends = Run([](TFrmTemplateSet &dialog) {
        dialog.ChkImage->click();
        dialog.BtnClose->click();
    });
    EXPECT_EQ(sends, std::vector<qint64>({0}));
    const TTemplate &templ = *project.Template();
    EXPECT_TRUE(templ.UseBgImage());
    EXPECT_EQ(templ.BgImage(), picture);
    ASSERT_TRUE(QFileInfo::exists(templ.ThumbImg()));
    EXPECT_EQ(QImage(templ.ThumbImg()).size(), QSize(960, 540));
}

} // namespace
