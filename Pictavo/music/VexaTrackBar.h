#pragma once
// A time line drawn entirely from pictures: a draggable position thumb and, optionally, a clip range
// between a begin and an end marker. It has no text; each part's vertical place comes from a
// spacing property, its horizontal place from its value.

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <cstdint>

class TVexaTrackBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint64 Max READ Max WRITE SetMax)
    Q_PROPERTY(qint64 Position READ Position WRITE SetPosition)
    Q_PROPERTY(qint64 StartPos READ StartPos WRITE SetStartPos)
    Q_PROPERTY(qint64 EndPos READ EndPos WRITE SetEndPos)
    Q_PROPERTY(bool CutVisible READ CutVisible WRITE SetCutVisible)
    Q_PROPERTY(bool UseColorBg READ UseColorBg WRITE SetUseColorBg)
    Q_PROPERTY(QColor ColorBG READ ColorBG WRITE SetColorBG)
    Q_PROPERTY(int SpaceTrack READ SpaceTrack WRITE SetSpaceTrack)
    Q_PROPERTY(int SpaceBG READ SpaceBG WRITE SetSpaceBG)
    Q_PROPERTY(int SpaceStart READ SpaceStart WRITE SetSpaceStart)
    Q_PROPERTY(int ClipSpace READ ClipSpace WRITE SetClipSpace)
    Q_PROPERTY(int ClipHeight READ ClipHeight WRITE SetClipHeight)
    Q_PROPERTY(QPixmap BitmapBG READ BitmapBG WRITE SetBitmapBG)
    Q_PROPERTY(QPixmap BitmapClipBG READ BitmapClipBG WRITE SetBitmapClipBG)
    Q_PROPERTY(QPixmap BitmapClip READ BitmapClip WRITE SetBitmapClip)
    Q_PROPERTY(QPixmap BitmapStart READ BitmapStart WRITE SetBitmapStart)
    Q_PROPERTY(QPixmap BitmapEnd READ BitmapEnd WRITE SetBitmapEnd)
    Q_PROPERTY(QPixmap BitmapTrack READ BitmapTrack WRITE SetBitmapTrack)

public:
    // The part a mouse press landed on, tested in this order.
    enum class Part { None, Thumb, Begin, End, Background };

    explicit TVexaTrackBar(QWidget *parent = nullptr);

    qint64 Max() const { return m_max; }
    qint64 Position() const { return m_position; }
    qint64 StartPos() const { return m_startPos; }
    qint64 EndPos() const { return m_endPos; }
    bool CutVisible() const { return m_cutVisible; }
    bool UseColorBg() const { return m_useColorBg; }
    QColor ColorBG() const { return m_colorBG; }
    int SpaceTrack() const { return m_spaceTrack; }
    int SpaceBG() const { return m_spaceBG; }
    int SpaceStart() const { return m_spaceStart; }
    int ClipSpace() const { return m_clipSpace; }
    int ClipHeight() const { return m_clipHeight; }
    QPixmap BitmapBG() const { return m_bitmapBG; }
    QPixmap BitmapClipBG() const { return m_bitmapClipBG; }
    QPixmap BitmapClip() const { return m_bitmapClip; }
    QPixmap BitmapStart() const { return m_bitmapStart; }
    QPixmap BitmapEnd() const { return m_bitmapEnd; }
    QPixmap BitmapTrack() const { return m_bitmapTrack; }

    // The value setters clamp, then store and signal only when the value changed. Max is stored
    // as given; the other values are clamped to it the next time they are set.
    void SetMax(qint64 value);
    void SetPosition(qint64 value);
    void SetStartPos(qint64 value);
    void SetEndPos(qint64 value);
    void SetCutVisible(bool value);
    void SetUseColorBg(bool value);
    void SetColorBG(const QColor &value);
    void SetSpaceTrack(int value);
    void SetSpaceBG(int value);
    void SetSpaceStart(int value);
    void SetClipSpace(int value);
    void SetClipHeight(int value);
    void SetBitmapBG(const QPixmap &value);
    void SetBitmapClipBG(const QPixmap &value);
    void SetBitmapClip(const QPixmap &value);
    void SetBitmapStart(const QPixmap &value);
    void SetBitmapEnd(const QPixmap &value);
    void SetBitmapTrack(const QPixmap &value);

    // Geometry, in client coordinates. The margin is the begin marker's width while markers are
    // shown, else half the thumb's width; it keeps both ends of the track reachable.
    int Margin() const;
    int ValueToX(qint64 value) const; // offset from the track's left end
    qint64 XToValue(int x) const;     // for a client x, unclamped
    QRect PartRect(Part part) const;
    QRect ClipBGRect() const;
    QRect ClipBarRect() const;

    Part DraggedPart() const { return m_dragged; }

signals:
    void OnTrackChange(TVexaTrackBar *Sender, qint64 value);
    void OnSetStartChange(TVexaTrackBar *Sender, qint64 value);
    void OnSetEndChange(TVexaTrackBar *Sender, qint64 value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int UsableWidth() const { return width() - 2 * Margin(); }
    template <typename T> void Store(T &field, const T &value)
    {
        field = value;
        update();
    }

    qint64 m_max = 1000;
    qint64 m_position = 0;
    qint64 m_startPos = 0;
    qint64 m_endPos = 100;
    bool m_cutVisible = true;
    bool m_useColorBg = true;
    QColor m_colorBG = Qt::black;
    int m_spaceTrack = 0;
    int m_spaceBG = 10;
    int m_spaceStart = 0;
    int m_clipSpace = 5;
    int m_clipHeight = 8;
    QPixmap m_bitmapBG;
    QPixmap m_bitmapClipBG;
    QPixmap m_bitmapClip;
    QPixmap m_bitmapStart;
    QPixmap m_bitmapEnd;
    QPixmap m_bitmapTrack;

    bool m_dragging = false;
    Part m_dragged = Part::None;
};

// y rounded to the nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double y);
