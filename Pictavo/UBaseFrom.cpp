#include "UBaseFrom.h"

#include "Multilingual.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QWindow>

namespace {

// The title-bar pictures: a dark vertical gradient, with a lighter rim on the end pieces.
QPixmap TitlePicture(int width, bool rim)
{
    QPixmap picture(width, TBaseFrm::TitleHeight);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, TBaseFrm::TitleHeight);
    gradient.setColorAt(0, QColor(78, 78, 78));
    gradient.setColorAt(1, QColor(40, 40, 40));
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(QColor(96, 96, 96));
    painter.drawLine(0, 0, width, 0);
    if (rim)
        painter.drawLine(0, 0, 0, TBaseFrm::TitleHeight);
    return picture;
}

QPixmap IconPicture()
{
    QPixmap icon(22, 22);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 140, 40));
    painter.drawRoundedRect(QRectF(3, 3, 16, 16), 3, 3);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawPolygon(QPolygonF({QPointF(7, 16), QPointF(11, 9), QPointF(15, 16)}));
    return icon;
}

QIcon CloseIcon()
{
    QPixmap cross(19, 23);
    cross.fill(Qt::transparent);
    QPainter painter(&cross);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 200, 200), 1.6));
    painter.drawLine(QPointF(6, 8), QPointF(13, 15));
    painter.drawLine(QPointF(13, 8), QPointF(6, 15));
    return QIcon(cross);
}

} // namespace

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

    TopPanel = new QWidget(this);
    TopPanel->setObjectName(QStringLiteral("TopPanel"));
    Image2 = new QLabel(TopPanel);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(TitlePicture(9, true));
    Image3 = new QLabel(TopPanel);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setPixmap(TitlePicture(8, false));
    Image3->setScaledContents(true);
    Image1 = new QLabel(TopPanel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(TitlePicture(8, false).transformed(QTransform().scale(-1, 1)));
    imgIcon = new QLabel(TopPanel);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(IconPicture());
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

    BtnClose = new QToolButton(this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setIcon(CloseIcon());
    BtnClose->setIconSize(QSize(19, 23));
    BtnClose->setAutoRaise(true);
    BtnClose->setFixedSize(19, 23);
    BtnClose->setStyleSheet(QStringLiteral("QToolButton { border: none; } QToolButton:hover { background: rgb(160,50,50); }"));
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
