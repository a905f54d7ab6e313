#pragma once
// The look every dialog of the program shares: a borderless dark window with rounded corners, a
// drawn title bar that moves the window, and a close button that cancels.
//
// A descendant builds its controls in its constructor below the 26-pixel title bar, then calls
// FormCreate(), which fills the language texts and gives the window its rounded region.

#include <QDialog>

class QLabel;
class QToolButton;

class TBaseFrm : public QDialog {
    Q_OBJECT
public:
    // `formName` is the form's object name ("FrmAbout"), by which the language table finds its
    // texts; `caption` the design-time caption; `clientSize` the design client size.
    TBaseFrm(QWidget *owner, const QString &formName, const QString &caption, QSize clientSize);

    static constexpr int TitleHeight = 26;
    static QColor FormColor() { return {48, 48, 48}; }

    QWidget *TopPanel = nullptr;
    QLabel *Image1 = nullptr; // right end of the title bar
    QLabel *Image2 = nullptr; // left end
    QLabel *Image3 = nullptr; // stretched middle
    QLabel *imgIcon = nullptr;
    QLabel *LblBaseCaption = nullptr;
    QToolButton *BtnClose = nullptr;

protected:
    // The language texts, then the window region for the final size.
    void FormCreate();
    // The rounded region from (0, 0) to (width + 1, height + 1), 12 × 12 corner ellipses.
    void ShapeRegion();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Where the window goes when shown: over the middle of its owner.
    virtual void PlaceWindow();

private:
    void PlaceTitleBar();
};

// Styles a descendant's push button like the title bar's buttons.
void StyleFormButton(QWidget *button);

// A control of a form with its object name, design-time text and place.
template <typename Control>
Control *MakeControl(QWidget *parent, const char *name, const char *text, QRect place)
{
    auto *control = new Control(QString::fromLatin1(text), parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(place);
    return control;
}
