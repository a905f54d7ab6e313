#include "ClipTrackPictures.h"

#include "VexaTrackBar.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap Transparent(int width, int height)
{
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    return picture;
}

QPixmap Strip(const QColor &top, const QColor &bottom)
{
    QPixmap picture(16, 4);
    QPainter painter(&picture);
    QLinearGradient shade(0, 0, 0, 4);
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    painter.fillRect(picture.rect(), shade);
    return picture;
}

// A marker: a post along one side with a pennant pointing into the clip.
QPixmap Marker(bool pointsRight)
{
    QPixmap picture = Transparent(8, 20);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour(250, 160, 40);
    const qreal post = pointsRight ? 7 : 0;
    painter.fillRect(QRectF(post, 0, 1, 20), colour);
    QPainterPath pennant;
    pennant.moveTo(post + (pointsRight ? 1 : 0), 8);
    pennant.lineTo(pointsRight ? 0 : 8, 14);
    pennant.lineTo(post + (pointsRight ? 1 : 0), 20);
    pennant.closeSubpath();
    painter.fillPath(pennant, colour);
    return picture;
}

QPixmap Thumb()
{
    QPixmap picture = Transparent(13, 13);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, 13);
    shade.setColorAt(0, QColor(250, 250, 250));
    shade.setColorAt(1, QColor(170, 170, 170));
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(shade);
    painter.drawEllipse(QRectF(0.5, 0.5, 12, 12));
    return picture;
}

} // namespace

void SetClipTrackPictures(TVexaTrackBar &bar)
{
    bar.SetBitmapClipBG(Strip(QColor(20, 20, 20), QColor(80, 80, 80)));
    bar.SetBitmapClip(Strip(QColor(255, 190, 80), QColor(220, 120, 20)));
    bar.SetBitmapStart(Marker(true));
    bar.SetBitmapEnd(Marker(false));
    bar.SetBitmapTrack(Thumb());
}
