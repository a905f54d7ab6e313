#pragma once
// The missing-files box shown after a project was opened whose files were partly gone.

#include "UBaseFrom.h"

class QListWidget;
class QPushButton;

class TFrmMsgBox : public TBaseFrm {
    Q_OBJECT
public:
    explicit TFrmMsgBox(QWidget *owner);

    QLabel *lblCode = nullptr;
    QListWidget *filelist = nullptr;
    QPushButton *BtnOk = nullptr;

protected:
    // The form sees keys first: Enter closes it like OK wherever the focus is.
    void keyPressEvent(QKeyEvent *event) override;
};

// The text above the list for project file `name` (without its folder).
QString MissingFilesText(const QString &name);

// Lists `paths` under the project file's `name` and waits for OK.
void ShowMissingFiles(QWidget *owner, const QString &name, const QStringList &paths);
