#include "UMainSkin.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {

QPixmap strip(int width, int height, QColor top, QColor bottom)
{
    QPixmap pixmap(width, height);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(pixmap.rect(), gradient);
    return pixmap;
}

QPixmap icon()
{
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 22, 22);
    gradient.setColorAt(0, QColor(255, 176, 59));
    gradient.setColorAt(1, QColor(214, 82, 36));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 18, 18), 4, 4);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(QPointF(7, 6), QPointF(7, 16));
    painter.drawLine(QPointF(7, 16), QPointF(15, 16));
    return pixmap;
}

// The button's symbol in the given colour.
QPixmap glyph(SkinButton button, QColor color)
{
    QPixmap pixmap(19, 23);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.6));
    switch (button) {
    case SkinButton::Minimise: painter.drawLine(QPointF(5, 15), QPointF(14, 15)); break;
    case SkinButton::Maximise: painter.drawRect(QRectF(5, 7, 9, 9)); break;
    case SkinButton::Restore:
        painter.drawRect(QRectF(5, 9, 7, 7));
        painter.drawPolyline(QPolygonF({QPointF(8, 9), QPointF(8, 6), QPointF(15, 6),
                                        QPointF(15, 13), QPointF(12, 13)}));
        break;
    case SkinButton::Close:
        painter.drawLine(QPointF(5, 7), QPointF(14, 16));
        painter.drawLine(QPointF(14, 7), QPointF(5, 16));
        break;
    }
    return pixmap;
}

} // namespace

QLabel *MakeSkinPicture(QWidget *parent, const QString &name, SkinPicture picture)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setScaledContents(true);
    const QColor titleTop(74, 74, 78), titleBottom(38, 38, 40);
    const QColor statusTop(222, 220, 220), statusBottom(199, 196, 196);
    switch (picture) {
    case SkinPicture::TitleLeft: label->setPixmap(strip(9, 26, titleTop, titleBottom)); label->setFixedWidth(9); break;
    case SkinPicture::TitleMiddle: label->setPixmap(strip(8, 26, titleTop, titleBottom)); break;
    case SkinPicture::TitleRight: label->setPixmap(strip(8, 26, titleTop, titleBottom)); label->setFixedWidth(8); break;
    case SkinPicture::Icon: label->setPixmap(icon()); label->setScaledContents(false); break;
    case SkinPicture::StatusLeft: label->setPixmap(strip(6, 24, statusTop, statusBottom)); label->setFixedWidth(6); break;
    case SkinPicture::StatusMiddle: label->setPixmap(strip(8, 24, statusTop, statusBottom)); break;
    case SkinPicture::StatusRight: label->setPixmap(strip(6, 24, statusTop, statusBottom)); label->setFixedWidth(6); break;
    }
    return label;
}

QToolButton *MakeSkinButton(QWidget *parent, const QString &name, SkinButton button)
{
    auto *tool = new QToolButton(parent);
    tool->setObjectName(name);
    tool->setFixedSize(19, 23);
    tool->setAutoRaise(true);
    tool->setFocusPolicy(Qt::NoFocus);
    tool->setIconSize(QSize(19, 23));
    QIcon symbol;
    symbol.addPixmap(glyph(button, QColor(200, 200, 200)), QIcon::Normal);
    symbol.addPixmap(glyph(button, Qt::white), QIcon::Active);
    tool->setIcon(symbol);
    const QString hot = button == SkinButton::Close ? QStringLiteral("rgb(200, 60, 50)")
                                                    : QStringLiteral("rgb(90, 90, 96)");
    tool->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                       "QToolButton:hover { background: %1; border-radius: 3px; }"
                                       "QToolButton:pressed { background: rgb(30, 30, 30); }")
                            .arg(hot));
    return tool;
}
