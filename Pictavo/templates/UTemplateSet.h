#pragma once
// The template settings dialog: background colour or picture, thumbnail effects, scrolling action
// and playback options. Every change but the playback options goes into the project at once and
// is sent to the main window (0x177A), so the editor UI shows it while the dialog is open; the
// playback options are stored only by OK.

#include "UBaseFrom.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TProjItem;

class TFrmTemplateSet : public TBaseFrm {
    Q_OBJECT
public:
    // `mainWindow` receives the 0x177A sends and is the owner the dialog is placed over.
    TFrmTemplateSet(QWidget *mainWindow, TProjItem &project);

    QGroupBox *Background = nullptr;
    QLabel *labbkcolor = nullptr;
    QComboBox *color = nullptr; // each item's data is its QColor
    QCheckBox *ChkImage = nullptr;
    QLineEdit *edtImage = nullptr; // its trailing action is the browse button
    QGroupBox *grpthumb = nullptr;
    QCheckBox *chkFrame = nullptr;
    QCheckBox *ChkLight = nullptr;
    QCheckBox *ChkFill = nullptr;
    QGroupBox *grpScr = nullptr;
    QRadioButton *RadDrag = nullptr;
    QRadioButton *RadIn = nullptr;
    QRadioButton *RadAuto = nullptr;
    QGroupBox *grpPlayback = nullptr;
    QCheckBox *chkAutoPlay = nullptr;
    QCheckBox *ChkAutoLoop = nullptr;
    QCheckBox *ChkFullPlay = nullptr;
    QLabel *labphotoDelay = nullptr;
    QSpinBox *edtDelay = nullptr;
    QPushButton *BtnOk = nullptr;

    // The browse button of edtImage.
    void BrowseImage();
    // The colour shown for `bgColor`, added to the list when it is not one of its colours.
    void SelectColor(int bgColor);

protected:
    void showEvent(QShowEvent *event) override;
    void PlaceWindow() override;

private:
    void FillControls();
    void ApplyCapabilities();
    void ApplySettings(bool reloadTemplate);
    void ChkImageClick();
    void BtnOkClick();
    // Connects a change signal to ApplySettings, skipped while the controls are filled.
    template <typename Sender, typename Signal> void Live(Sender *sender, Signal signal, bool reload);

    TProjItem &Project;
    QWidget *MainWindow;
    bool Loading = false; // the loading guard: no change handler acts while it is on
};

// Shows the dialog modally over the main window.
void ShowTemplateSettings(QWidget *mainWindow, TProjItem &project);
