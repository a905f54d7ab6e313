#include "UBaseFrom.h"

#include "Multilingual.h"
#include "UMainSkin.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QWindow>

void StyleFormButton(QWidget *button)
{
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: rgb(230,230,230); background: rgb(72,72,72); border: 1px solid rgb(111,111,111);"
        " border-radius: 3px; padding: 3px 12px; }"
        "QPushButton:hover { background: rgb(90,90,90); }"
        "QPushButton:pressed { background: rgb(60,60,60); }"
        "QPushButton:disabled { color: rgb(120,120,120); }"));
}

TBaseFrm::TBaseFrm(QWidget *owner, const QString &formName, const QString &caption, QSize clientSize)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(formName);
    setWindowTitle(caption);
    resize(clientSize);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, FormColor());
    colours.setColor(QPalette::WindowText, QColor(220, 220, 220));
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);

    // Group boxes as thin frames on the dark form, their titles in the frame's top line.
    setStyleSheet(QStringLiteral(
        "QGroupBox { color: rgb(220,220,220); border: 1px solid rgb(96,96,96); border-radius: 3px;"
        " margin-top: 8px; padding-top: 4px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: rgb(220,220,220); }"));
    TopPanel = new QWidget(this);
    TopPanel->setObjectName(QStringLiteral("TopPanel"));
    Image2 = MakeSkinPicture(TopPanel, QStringLiteral("Image2"), SkinPicture::TitleLeft);
    Image3 = MakeSkinPicture(TopPanel, QStringLiteral("Image3"), SkinPicture::TitleMiddle);
    Image1 = MakeSkinPicture(TopPanel, QStringLiteral("Image1"), SkinPicture::TitleRight);
    imgIcon = MakeSkinPicture(TopPanel, QStringLiteral("imgIcon"), SkinPicture::Icon);
    imgIcon->setGeometry(2, 2, 22, 22);
    LblBaseCaption = new QLabel(caption, TopPanel);
    LblBaseCaption->setObjectName(QStringLiteral("LblBaseCaption"));
    QFont captionFont(QStringLiteral("Tahoma"));
    captionFont.setPointSize(10);
    captionFont.setBold(true);
    LblBaseCaption->setFont(captionFont);
    LblBaseCaption->setAttribute(Qt::WA_TranslucentBackground);
    LblBaseCaption->setStyleSheet(QStringLiteral("color: rgb(235,235,235);"));
    LblBaseCaption->move(28, 5);

    BtnClose = MakeSkinButton(this, QStringLiteral("BtnClose"), SkinButton::Close);
    connect(BtnClose, &QToolButton::clicked, this, &QDialog::reject);

    for (QWidget *handle : {static_cast<QWidget *>(Image3), static_cast<QWidget *>(LblBaseCaption),
                            static_cast<QWidget *>(imgIcon)})
        handle->installEventFilter(this);
    PlaceTitleBar();
}

void TBaseFrm::FormCreate()
{
    ApplyLanguage(this);
    LblBaseCaption->adjustSize();
    PlaceTitleBar();
    ShapeRegion();
}

void TBaseFrm::PlaceTitleBar()
{
    const int w = width();
    TopPanel->setGeometry(0, 0, w, TitleHeight);
    Image2->setGeometry(0, 0, 9, TitleHeight);
    Image3->setGeometry(9, 0, std::max(0, w - 17), TitleHeight);
    Image1->setGeometry(w - 8, 0, 8, TitleHeight);
    imgIcon->raise();
    LblBaseCaption->adjustSize();
    LblBaseCaption->raise();
    BtnClose->move(w - 26, 2);
    BtnClose->raise();
}

void TBaseFrm::ShapeRegion()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 6, 6);
    setMask(QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill));
}

void TBaseFrm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    PlaceTitleBar();
    ShapeRegion();
}

void TBaseFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    PlaceWindow();
}

void TBaseFrm::PlaceWindow()
{
    if (QWidget *owner = parentWidget()) {
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
}

void TBaseFrm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QColor(111, 111, 111));
    painter.setBrush(FormColor());
    painter.drawRoundedRect(QRect(0, 0, width() - 1, height() - 1), 8, 8);
}

bool TBaseFrm::eventFilter(QObject *watched, QEvent *event)
{
    const bool titleHandle = watched == Image3 || watched == LblBaseCaption || watched == imgIcon;
    if (titleHandle && event->type() == QEvent::MouseButtonPress && windowHandle()) {
        windowHandle()->startSystemMove();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
