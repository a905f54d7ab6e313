#include "VexaTrackBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

int64_t RoundHalfEven(double y)
{
    const double below = std::floor(y);
    const double rest = y - below;
    if (rest > 0.5)
        return static_cast<int64_t>(below) + 1;
    if (rest < 0.5)
        return static_cast<int64_t>(below);
    const auto even = static_cast<int64_t>(below);
    return even % 2 == 0 ? even : even + 1;
}

TVexaTrackBar::TVexaTrackBar(QWidget *parent) : QWidget(parent)
{
    // Every pixel is painted by paintEvent; the parent's background never shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void TVexaTrackBar::SetMax(qint64 value)
{
    if (value == m_max)
        return;
    m_max = value;
    update();
}

void TVexaTrackBar::SetPosition(qint64 value)
{
    if (value < 0)
        value = 0;
    if (value > m_max)
        value = m_max;
    if (value == m_position)
        return;
    m_position = value;
    emit OnTrackChange(this, value);
    update();
}

void TVexaTrackBar::SetStartPos(qint64 value)
{
    if (value < 0)
        value = 0;
    if (value > m_endPos)
        value = m_endPos;
    if (value == m_startPos)
        return;
    m_startPos = value;
    update();
    emit OnSetStartChange(this, value);
}

void TVexaTrackBar::SetEndPos(qint64 value)
{
    if (value < m_startPos)
        value = m_startPos;
    if (value > m_max)
        value = m_max;
    if (value == m_endPos)
        return;
    m_endPos = value;
    update();
    emit OnSetEndChange(this, value);
}

void TVexaTrackBar::SetCutVisible(bool value) { Store(m_cutVisible, value); }
void TVexaTrackBar::SetUseColorBg(bool value) { Store(m_useColorBg, value); }
void TVexaTrackBar::SetColorBG(const QColor &value) { Store(m_colorBG, value); }
void TVexaTrackBar::SetSpaceTrack(int value) { Store(m_spaceTrack, value); }
void TVexaTrackBar::SetSpaceBG(int value) { Store(m_spaceBG, value); }
void TVexaTrackBar::SetSpaceStart(int value) { Store(m_spaceStart, value); }
void TVexaTrackBar::SetClipSpace(int value) { Store(m_clipSpace, value); }
void TVexaTrackBar::SetClipHeight(int value) { Store(m_clipHeight, value); }
void TVexaTrackBar::SetBitmapBG(const QPixmap &value) { Store(m_bitmapBG, value); }
void TVexaTrackBar::SetBitmapClipBG(const QPixmap &value) { Store(m_bitmapClipBG, value); }
void TVexaTrackBar::SetBitmapClip(const QPixmap &value) { Store(m_bitmapClip, value); }
void TVexaTrackBar::SetBitmapStart(const QPixmap &value) { Store(m_bitmapStart, value); }
void TVexaTrackBar::SetBitmapEnd(const QPixmap &value) { Store(m_bitmapEnd, value); }
void TVexaTrackBar::SetBitmapTrack(const QPixmap &value) { Store(m_bitmapTrack, value); }

int TVexaTrackBar::Margin() const
{
    if (!m_bitmapStart.isNull() && m_cutVisible)
        return m_bitmapStart.width();
    return static_cast<int>(RoundHalfEven(m_bitmapTrack.width() / 2.0));
}

int TVexaTrackBar::ValueToX(qint64 value) const
{
    // A track without a range puts every value at its left end.
    if (m_max == 0)
        return 0;
    return static_cast<int>(RoundHalfEven(double(UsableWidth()) * double(value) / double(m_max)));
}

qint64 TVexaTrackBar::XToValue(int x) const
{
    // A control no wider than its two margins has no track to point at.
    const int usable = UsableWidth();
    if (usable <= 0)
        return 0;
    return RoundHalfEven(double(m_max) * double(x - Margin()) / double(usable));
}

namespace {

QRect Span(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

QRect PictureAt(const QPixmap &picture, int left, int top)
{
    return Span(left, top, left + picture.width(), top + picture.height());
}

} // namespace

QRect TVexaTrackBar::PartRect(Part part) const
{
    const int m = Margin();
    switch (part) {
    case Part::Thumb: {
        const int half = static_cast<int>(RoundHalfEven(m_bitmapTrack.width() / 2.0));
        return PictureAt(m_bitmapTrack, ValueToX(m_position) + m - half, m_spaceTrack);
    }
    case Part::Begin:
        return PictureAt(m_bitmapStart, ValueToX(m_startPos), m_spaceStart);
    case Part::End:
        return PictureAt(m_bitmapEnd, m + ValueToX(m_endPos), m_spaceStart);
    case Part::Background:
        return Span(0, 0, width(), m_bitmapBG.height());
    case Part::None:
        break;
    }
    return {};
}

QRect TVexaTrackBar::ClipBGRect() const
{
    const int m = Margin();
    return Span(m, m_spaceBG, width() - m, m_spaceBG + m_bitmapClipBG.height());
}

QRect TVexaTrackBar::ClipBarRect() const
{
    const int m = Margin();
    if (m_cutVisible)
        return Span(m + ValueToX(m_startPos), m_clipSpace, m + ValueToX(m_endPos), m_clipSpace + m_clipHeight);
    return Span(m, m_clipSpace, m + ValueToX(m_position), m_clipSpace + m_clipHeight);
}

void TVexaTrackBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_useColorBg)
        painter.fillRect(rect(), m_colorBG);
    const auto draw = [&](const QPixmap &picture, const QRect &target) {
        if (!picture.isNull())
            painter.drawPixmap(target, picture);
    };
    draw(m_bitmapBG, PartRect(Part::Background));
    draw(m_bitmapClipBG, ClipBGRect());
    draw(m_bitmapClip, ClipBarRect());
    if (m_cutVisible) {
        draw(m_bitmapStart, PartRect(Part::Begin));
        draw(m_bitmapEnd, PartRect(Part::End));
    }
    draw(m_bitmapTrack, PartRect(Part::Thumb));
}

void TVexaTrackBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Qt grabs the mouse for the pressed button, so moves keep arriving outside the control.
    m_dragging = true;
    m_dragged = Part::None;
    const QPoint at = event->position().toPoint();
    // The markers react whether or not they are drawn.
    for (Part part : {Part::Thumb, Part::Begin, Part::End, Part::Background}) {
        if (PartRect(part).contains(at)) {
            m_dragged = part;
            break;
        }
    }
    if (m_dragged == Part::Background)
        SetPosition(XToValue(at.x()));
}

void TVexaTrackBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const qint64 value = XToValue(event->position().toPoint().x());
    switch (m_dragged) {
    case Part::Thumb:
        SetPosition(value);
        break;
    case Part::Begin:
        SetStartPos(value);
        SetPosition(value);
        break;
    case Part::End:
        SetPosition(value);
        SetEndPos(value);
        break;
    case Part::Background:
    case Part::None:
        break;
    }
}

void TVexaTrackBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    m_dragged = Part::None;
}
