#include "templates/UTemplateSet.h"

#include "UPhotoList.h"
#include "platform/Prompts.h"
#include "platform/WindowMessages.h"
#include "project/UDataDef.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplateInfo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <climits>

namespace {

// The colour list's standard colours.
const std::pair<const char *, QColor> StandardColors[] = {
    {"Black", QColor(0, 0, 0)},        {"Maroon", QColor(128, 0, 0)},   {"Green", QColor(0, 128, 0)},
    {"Olive", QColor(128, 128, 0)},    {"Navy", QColor(0, 0, 128)},     {"Purple", QColor(128, 0, 128)},
    {"Teal", QColor(0, 128, 128)},     {"Gray", QColor(128, 128, 128)}, {"Silver", QColor(192, 192, 192)},
    {"Red", QColor(255, 0, 0)},        {"Lime", QColor(0, 255, 0)},     {"Yellow", QColor(255, 255, 0)},
    {"Blue", QColor(0, 0, 255)},       {"Fuchsia", QColor(255, 0, 255)}, {"Aqua", QColor(0, 255, 255)},
    {"White", QColor(255, 255, 255)},
};

QIcon Swatch(const QColor &colour)
{
    QPixmap swatch(16, 12);
    swatch.fill(colour);
    QPainter(&swatch).drawRect(0, 0, 15, 11);
    return QIcon(swatch);
}

// Enables the control when the template supports it; otherwise disables it and clears it.
void SetCapability(QAbstractButton *control, bool supported)
{
    control->setEnabled(supported);
    if (supported)
        return;
    // A radio button of an exclusive group cannot be unchecked on its own.
    const bool exclusive = control->autoExclusive();
    control->setAutoExclusive(false);
    control->setChecked(false);
    control->setAutoExclusive(exclusive);
}

} // namespace

TFrmTemplateSet::TFrmTemplateSet(QWidget *mainWindow, TProjItem &project)
    : TBaseFrm(mainWindow, QStringLiteral("FrmTemplateSet"), QStringLiteral("Template Settings"), QSize(441, 400)),
      Project(project), MainWindow(mainWindow)
{
    Background = MakeControl<QGroupBox>(this, "Background", " Background ", QRect(12, 34, 417, 84));
    labbkcolor = MakeControl<QLabel>(Background, "labbkcolor", "Background Color", QRect(12, 24, 145, 18));
    color = new QComboBox(Background);
    color->setObjectName(QStringLiteral("color"));
    color->setGeometry(160, 22, 150, 22);
    for (const auto &[name, colour] : StandardColors)
        color->addItem(Swatch(colour), QString::fromLatin1(name), colour);
    ChkImage = MakeControl<QCheckBox>(Background, "ChkImage", "Background Image", QRect(12, 52, 145, 20));
    edtImage = new QLineEdit(Background);
    edtImage->setObjectName(QStringLiteral("edtImage"));
    edtImage->setGeometry(160, 50, 245, 22);
    QAction *browse = edtImage->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    browse->setObjectName(QStringLiteral("edtImageButton"));
    connect(browse, &QAction::triggered, this, &TFrmTemplateSet::BrowseImage);

    grpthumb = MakeControl<QGroupBox>(this, "grpthumb", " Thumbnail Effect ", QRect(12, 124, 417, 52));
    chkFrame = MakeControl<QCheckBox>(grpthumb, "chkFrame", " Add Border", QRect(12, 22, 120, 20));
    ChkLight = MakeControl<QCheckBox>(grpthumb, "ChkLight", "Use Spotlight ", QRect(142, 22, 130, 20));
    ChkFill = MakeControl<QCheckBox>(grpthumb, "ChkFill", "Fill Background", QRect(282, 22, 125, 20));

    grpScr = MakeControl<QGroupBox>(this, "grpScr", "  Scrolling Action ", QRect(12, 182, 417, 52));
    RadDrag = MakeControl<QRadioButton>(grpScr, "RadDrag", "Mouse Drag", QRect(12, 22, 128, 20));
    RadIn = MakeControl<QRadioButton>(grpScr, "RadIn", "Cursor Auto-sensing", QRect(145, 22, 140, 20));
    RadAuto = MakeControl<QRadioButton>(grpScr, "RadAuto", "Auto-scroll", QRect(290, 22, 122, 20));

    grpPlayback = MakeControl<QGroupBox>(this, "grpPlayback", " Playback Option ", QRect(12, 240, 417, 108));
    chkAutoPlay = MakeControl<QCheckBox>(grpPlayback, "chkAutoPlay", "Play Automatically", QRect(12, 22, 135, 20));
    ChkAutoLoop = MakeControl<QCheckBox>(grpPlayback, "ChkAutoLoop", "Loop Forever", QRect(152, 22, 125, 20));
    ChkFullPlay = MakeControl<QCheckBox>(grpPlayback, "ChkFullPlay", "Full Screen", QRect(282, 22, 130, 20));
    labphotoDelay = MakeControl<QLabel>(grpPlayback, "labphotoDelay", "Photo Transition Delay Time", QRect(12, 60, 200, 18));
    edtDelay = new QSpinBox(grpPlayback);
    edtDelay->setObjectName(QStringLiteral("edtDelay"));
    edtDelay->setRange(1, INT_MAX);
    edtDelay->setValue(3);
    edtDelay->setGeometry(220, 58, 70, 22);
    MakeControl<QLabel>(grpPlayback, "labSeconds", "(s)", QRect(296, 60, 30, 18));

    BtnOk = MakeControl<QPushButton>(this, "BtnOk", "OK", QRect(354, 362, 75, 25));
    BtnOk->setDefault(true);
    StyleFormButton(BtnOk);
    connect(BtnOk, &QPushButton::clicked, this, &TFrmTemplateSet::BtnOkClick);

    Live(color, &QComboBox::currentIndexChanged, false);
    Live(chkFrame, &QCheckBox::clicked, false);
    Live(ChkLight, &QCheckBox::clicked, false);
    Live(ChkFill, &QCheckBox::clicked, false);
    Live(edtDelay, &QSpinBox::valueChanged, false);
    Live(RadDrag, &QRadioButton::clicked, true);
    Live(RadIn, &QRadioButton::clicked, true);
    Live(RadAuto, &QRadioButton::clicked, true);
    connect(ChkImage, &QCheckBox::clicked, this, [this] {
        if (!Loading)
            ChkImageClick();
    });

    FormCreate();
}

template <typename Sender, typename Signal>
void TFrmTemplateSet::Live(Sender *sender, Signal signal, bool reload)
{
    connect(sender, signal, this, [this, reload] {
        if (!Loading)
            ApplySettings(reload);
    });
}

void TFrmTemplateSet::PlaceWindow()
{
    if (!MainWindow)
        return;
    const QRect main = MainWindow->frameGeometry();
    move(main.left() + main.width() / 2 - width() / 2, main.top() + main.height() - height() - 40);
}

void TFrmTemplateSet::showEvent(QShowEvent *event)
{
    TBaseFrm::showEvent(event);
    Loading = true;
    FillControls();
    ApplyCapabilities();
    Loading = false;
}

void TFrmTemplateSet::SelectColor(int bgColor)
{
    const QColor shown = ShownBgColor(bgColor);
    int index = color->findData(shown);
    if (index < 0) {
        color->addItem(Swatch(shown), shown.name(), shown);
        index = color->count() - 1;
    }
    color->setCurrentIndex(index);
}

void TFrmTemplateSet::FillControls()
{
    const TTemplate &templ = *Project.Template();
    ChkImage->setChecked(templ.UseBgImage());
    edtImage->setText(templ.BgImage());
    edtImage->setEnabled(ChkImage->isChecked());
    SelectColor(templ.BgColor());
    chkFrame->setChecked(templ.UseFrame());
    ChkFill->setChecked(templ.UseFill());
    ChkLight->setChecked(templ.UseLight());
    edtDelay->setValue(templ.AutoDelay());
    ChkAutoLoop->setChecked(templ.AutoLoop());
    chkAutoPlay->setChecked(templ.AutoPlay());
    ChkFullPlay->setChecked(templ.FullPlay());
    switch (templ.DragType()) {
    case st_Drag: RadDrag->setChecked(true); break;
    case st_Auto: RadAuto->setChecked(true); break;
    default: RadIn->setChecked(true); break;
    }
}

void TFrmTemplateSet::ApplyCapabilities()
{
    const std::optional<TemplateCatalogEntry> entry = FindTemplateEntry(Project.Template()->TemplateID());
    if (!entry)
        return;
    SetCapability(RadDrag, entry->mousedrag);
    SetCapability(RadIn, entry->autocursor);
    SetCapability(RadAuto, entry->autoscroll);
    SetCapability(ChkLight, entry->usespotlight);
}

void TFrmTemplateSet::ApplySettings(bool reloadTemplate)
{
    TTemplate &templ = *Project.Template();
    if (ChkImage->isChecked()) {
        templ.SetUseBgImage(true);
        templ.SetBgImage(edtImage->text());
        if (!QFileInfo::exists(templ.ThumbImg()))
            templ.SetThumbImg(MakeThumbnail(templ.BgImage(), 960, 540));
    } else {
        templ.SetUseBgImage(false);
    }
    templ.SetBgColor(StoredBgColor(color->currentData().value<QColor>()));
    templ.SetUseFrame(chkFrame->isChecked());
    templ.SetUseLight(ChkLight->isChecked());
    templ.SetUseFill(ChkFill->isChecked());
    templ.SetAutoDelay(edtDelay->value());
    templ.SetDragType(RadAuto->isChecked() ? st_Auto : RadIn->isChecked() ? st_Influence : st_Drag);
    if (MainWindow)
        SendWindowMessage(MainWindow, WindowMessage::TemplateChanged, 0, reloadTemplate ? 1 : 0);
}

void TFrmTemplateSet::ChkImageClick()
{
    edtImage->setEnabled(ChkImage->isChecked());
    if (!ChkImage->isChecked())
        ApplySettings(false);
    else if (QFileInfo(edtImage->text()).isFile())
        ApplySettings(false);
    else
        BrowseImage();
}

void TFrmTemplateSet::BrowseImage()
{
    FileDialogRequest request;
    request.filter = PictureFileFilter();
    const QStringList chosen = Prompts().OpenFiles(this, request);
    if (!chosen.isEmpty()) {
        edtImage->setText(chosen.first());
        Project.Template()->SetBgImage(chosen.first());
        Project.Template()->SetThumbImg(QString()); // a new thumbnail is made for the new picture
    }
    if (QFileInfo(edtImage->text()).isFile())
        ApplySettings(false);
}

void TFrmTemplateSet::BtnOkClick()
{
    TTemplate &templ = *Project.Template();
    templ.SetAutoLoop(ChkAutoLoop->isChecked());
    templ.SetAutoPlay(chkAutoPlay->isChecked());
    templ.SetFullPlay(ChkFullPlay->isChecked());
    accept();
}

void ShowTemplateSettings(QWidget *mainWindow, TProjItem &project)
{
    TFrmTemplateSet dialog(mainWindow, project);
    dialog.exec();
}
