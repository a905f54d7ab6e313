// The base form and the small dialogs, driven through their real widgets offscreen.
#include "DialogFixture.h"
#include "UAbout.h"
#include "UMsgBox.h"
#include "USetDesText.h"
#include "project/UPublicFunction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

using SmallDialogsTest = DialogTest;

TEST_F(SmallDialogsTest, BaseFormIsRoundedDarkAndTitledFromTheLanguageFile)
{
    TFrmAbout about(&mainWindow);
    EXPECT_EQ(about.size(), QSize(521, 287));
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(48, 48, 48));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    // 12 × 12 corner ellipses: the very corner pixels are outside the region, the middle inside.
    const QRegion region = about.mask();
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(520, 286)));
    EXPECT_TRUE(region.contains(QPoint(6, 6)));
    EXPECT_TRUE(region.contains(QPoint(260, 140)));
    EXPECT_EQ(about.BtnClose->x(), about.width() - 26);
    EXPECT_EQ(about.LblBaseCaption->text(), LangText("frm_about_title"));
    EXPECT_FALSE(about.LblBaseCaption->text().isEmpty());

    WhenShown<TFrmAbout>([](TFrmAbout &shown) { shown.BtnClose->click(); });
    EXPECT_EQ(about.exec(), QDialog::Rejected);
}

TEST_F(SmallDialogsTest, AboutBoxShowsThePictureAndTheVersionLine)
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QDir().mkpath(ProgramDir() + "Res/ResImage");
    picture.save(ProgramDir() + "Res/ResImage/about.png");
    TFrmAbout about(&mainWindow);
    ASSERT_FALSE(about.ImgAbout->pixmap().isNull());
    EXPECT_EQ(about.ImgAbout->pixmap().size(), QSize(40, 20));
    EXPECT_EQ(about.LabVersion->text(),
              LangText("frm_flash_ver") + " " + ProgramVersion(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(about.labright->text(), LangText("frm_about_copyright"));

    QFile::remove(ProgramDir() + "Res/ResImage/about.png");
    TFrmAbout bare(&mainWindow);
    EXPECT_TRUE(bare.ImgAbout->pixmap().isNull());
}

struct AddressCase {
    const char *typed;
    bool stored;
};

TEST_F(SmallDialogsTest, DescriptionDialogStoresOnlyAnEnteredAddress)
{
    const AddressCase cases[] = {
        {"http://", false},        // unchanged default
        {" http:// ", false},      // not "http://" exactly, but 7 characters trimmed
        {"http://a", true},        // 8 characters
        {"  www.vexa.org ", true}, // stored as typed, blanks included
        {"", false},
    };
    for (const AddressCase &test : cases) {
        TProjItem project;
        AddPhoto(project);
        bool prefilled = false;
        WhenShown<TFrmSetDecText>([&](TFrmSetDecText &dialog) {
            prefilled = dialog.EdtUrl->text() == "http://" && dialog.ComboName->currentIndex() == 0;
            dialog.EdtUrl->setText(test.typed);
            dialog.edtTitle->setText("Beach");
            dialog.MemText->setPlainText("Sand and\nsea");
            dialog.BtnOk->click();
        });
        EditPhotoDescription(&mainWindow, project, 0);
        const TImageObj &photo = *project.Images()->Items(0);
        EXPECT_TRUE(prefilled);
        EXPECT_EQ(photo.URL(), test.stored ? QString(test.typed) : QString()) << test.typed;
        EXPECT_EQ(photo.Caption(), "Beach");
        EXPECT_EQ(photo.Description(), "Sand and\nsea");
    }
}

TEST_F(SmallDialogsTest, DescriptionDialogAppliesTheAddressToAllPhotosButTheTextToOne)
{
    TProjItem project;
    for (int i = 0; i < 3; ++i)
        AddPhoto(project).SetCaption(QString("photo %1").arg(i));
    project.Images()->Items(1)->SetURL("http://old.example/");
    project.Images()->Items(1)->SetURLType(st_current);
    bool prefilled = false;
    WhenShown<TFrmSetDecText>([&](TFrmSetDecText &dialog) {
        prefilled = dialog.EdtUrl->text() == "http://old.example/" && dialog.ComboName->currentIndex() == 1 &&
                    dialog.edtTitle->text() == "photo 1";
        dialog.EdtUrl->setText("http://gallery.example/");
        dialog.ComboName->setCurrentIndex(0);
        dialog.ChkAll->setChecked(true);
        dialog.edtTitle->setText("middle");
        dialog.BtnOk->click();
    });
    EditPhotoDescription(&mainWindow, project, 1);
    EXPECT_TRUE(prefilled);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(project.Images()->Items(i)->URL(), "http://gallery.example/");
        EXPECT_EQ(project.Images()->Items(i)->URLType(), st_new);
    }
    EXPECT_EQ(project.Images()->Items(0)->Caption(), "photo 0");
    EXPECT_EQ(project.Images()->Items(1)->Caption(), "middle");
    EXPECT_EQ(project.Images()->Items(2)->Caption(), "photo 2");
}

TEST_F(SmallDialogsTest, DescriptionDialogCancelChangesNothingAndABadPositionOpensNothing)
{
    TProjItem project;
    AddPhoto(project).SetCaption("kept");
    project.SetModified(false);
    WhenShown<TFrmSetDecText>([](TFrmSetDecText &dialog) {
        dialog.edtTitle->setText("changed");
        dialog.EdtUrl->setText("http://changed.example/");
        dialog.btnLater->click();
    });
    EditPhotoDescription(&mainWindow, project, 0);
    EXPECT_EQ(project.Images()->Items(0)->Caption(), "kept");
    EXPECT_TRUE(project.Images()->Items(0)->URL().isEmpty());
    EXPECT_FALSE(project.Modified());

    // No dialog opens for these (WhenShown would wait for one): the calls return at once.
    EditPhotoDescription(&mainWindow, project, 1);
    EditPhotoDescription(&mainWindow, project, -1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(SmallDialogsTest, MissingFilesBoxListsThePathsAndClosesOnEnter)
{
    QStringList listed;
    QString text;
    WhenShown<TFrmMsgBox>([&](TFrmMsgBox &box) {
        for (int i = 0; i < box.filelist->count(); ++i)
            listed << box.filelist->item(i)->text();
        text = box.lblCode->text();
        box.filelist->setFocus();
        PressKey(box.filelist, Qt::Key_Return);
    });
    ShowMissingFiles(&mainWindow, "trip.vlpj", {"/photos/b.jpg", "/music/a.mp3"});
    EXPECT_EQ(listed, QStringList({"/photos/b.jpg", "/music/a.mp3"}));
    EXPECT_EQ(text, "Some files in \"trip.vlpj\" are missing. We will remove them from this project to continue. ");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
