#pragma once
// The caption and description dialog of one photo: title, description, and the web address the
// gallery opens when the caption is clicked, for this photo or for all of them.

#include "UBaseFrom.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TProjItem;

class TFrmSetDecText : public TBaseFrm {
    Q_OBJECT
public:
    explicit TFrmSetDecText(QWidget *owner);

    QLabel *lblTitle = nullptr;
    QLineEdit *edtTitle = nullptr;
    QLabel *lblCode = nullptr;
    QPlainTextEdit *MemText = nullptr;
    QGroupBox *labspecify = nullptr;
    QLineEdit *EdtUrl = nullptr;
    QComboBox *ComboName = nullptr; // 0 "New Window", 1 "Current Window"
    QCheckBox *ChkAll = nullptr;
    QPushButton *BtnOk = nullptr;
    QPushButton *btnLater = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};

// An address counts as entered when it is not exactly "http://" and, trimmed, is longer than
// the 7 characters of "http://".
bool IsWebAddressEntered(const QString &text);

// The dialog for the photo at `position`; nothing for a position past the list. On OK the photo
// takes title and description, and the address (when entered) goes to it or, with "apply to
// all", to every photo.
void EditPhotoDescription(QWidget *owner, TProjItem &project, int position);
