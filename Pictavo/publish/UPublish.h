#pragma once
// The publish settings dialog: movie size with its aspect rule, photo quality, output folder and
// file name. It forces the kind's extension, refuses bad names and missing folders, asks before
// overwriting, and on OK stores the chosen file in Project.OutputPath.

#include "UBaseFrom.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TProjItem;

class TFrmPublish : public TBaseFrm {
    Q_OBJECT
public:
    // `recentOutputFolder` is the recent-folders list's output line.
    TFrmPublish(QWidget *owner, TProjItem &project, int kind, const QString &recentOutputFolder);

    // The output folder to remember: changed only when OK confirmed overwriting a file.
    const QString &RecentOutputFolder() const { return RecentFolder; }
    // The list index's quality (0 -> 50, 1 -> 85, 2 -> 100) and the index a stored quality shows.
    static int QualityOfIndex(int index);
    static int IndexOfQuality(int quality);
    // The extension forced for output kind `kind`.
    static QString KindExtension(int kind);
    // The help topic the hint label opens for output kind `kind`.
    static QString HintTopic(int kind);

    const int Kind;
    QGroupBox *grpOptions = nullptr;
    QLabel *labSize = nullptr;
    QLabel *labWidth = nullptr;
    QSpinBox *EdtWidth = nullptr;
    QLabel *LabHeight = nullptr;
    QSpinBox *EdtHeight = nullptr;
    QRadioButton *Rad169 = nullptr;
    QRadioButton *Rad43 = nullptr;
    QRadioButton *RadCus = nullptr;
    QLabel *LabImage = nullptr;
    QComboBox *ComQuality = nullptr;
    QGroupBox *grpFolder = nullptr;
    QLabel *LabPath = nullptr;
    QLineEdit *EdtPath = nullptr; // its trailing action opens the folder picker
    QLabel *LabFile = nullptr;
    QLineEdit *EdtName = nullptr;
    QLabel *lblURLHint = nullptr;
    QPushButton *btnLater = nullptr;
    QPushButton *btnRegisition = nullptr;

    // The OK button and Enter: checks, then closes with OK or stays.
    void Confirm();
    void SelectPath();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void EdtWidthChange();
    void EdtHeightChange();
    // Sets a linked field without its own change handler running.
    void SetLinked(QSpinBox *field, double value);

    TProjItem &Project;
    QString RecentFolder;
    bool Linking = false;
};
