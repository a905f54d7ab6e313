#include "music/VexaTrackBar.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

QPixmap Solid(int width, int height, const QColor &colour)
{
    QPixmap picture(width, height);
    picture.fill(colour);
    return picture;
}

// A 210-pixel bar over 0..100 with 10-wide markers (margin 10, usable width 190) and a 6-wide
// thumb, every event written down as "name=value".
class TrackBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(210, 32);
        bar.SetMax(100);
        bar.SetBitmapStart(Solid(10, 20, Qt::green));
        bar.SetBitmapEnd(Solid(10, 20, Qt::blue));
        bar.SetBitmapTrack(Solid(6, 12, Qt::white));
        bar.SetSpaceStart(12);
        QObject::connect(&bar, &TVexaTrackBar::OnTrackChange, [this](TVexaTrackBar *sender, qint64 v) {
            EXPECT_EQ(sender, &bar);
            events.push_back("track=" + std::to_string(v));
        });
        QObject::connect(&bar, &TVexaTrackBar::OnSetStartChange, [this](TVexaTrackBar *, qint64 v) {
            events.push_back("start=" + std::to_string(v));
        });
        QObject::connect(&bar, &TVexaTrackBar::OnSetEndChange, [this](TVexaTrackBar *, qint64 v) {
            events.push_back("end=" + std::to_string(v));
        });
    }

    void Mouse(QEvent::Type type, int x, int y)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(x, y), bar.mapToGlobal(QPointF(x, y)), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    }
    void Drag(QPoint from, std::initializer_list<int> xs)
    {
        Mouse(QEvent::MouseButtonPress, from.x(), from.y());
        for (int x : xs)
            Mouse(QEvent::MouseMove, x, from.y());
        Mouse(QEvent::MouseButtonRelease, xs.size() ? *(xs.end() - 1) : from.x(), from.y());
    }

    TVexaTrackBar bar;
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST(TrackBarDefaults, PublishedValuesAtCreation)
{
    TVexaTrackBar bar;
    EXPECT_EQ(bar.Max(), 1000);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.StartPos(), 0);
    EXPECT_EQ(bar.EndPos(), 100);
    EXPECT_TRUE(bar.CutVisible());
    EXPECT_TRUE(bar.UseColorBg());
    EXPECT_EQ(bar.ColorBG(), QColor(Qt::black));
    EXPECT_EQ(bar.SpaceTrack(), 0);
    EXPECT_EQ(bar.SpaceBG(), 10);
    EXPECT_EQ(bar.SpaceStart(), 0);
    EXPECT_EQ(bar.ClipSpace(), 5);
    EXPECT_EQ(bar.ClipHeight(), 8);
    EXPECT_TRUE(bar.BitmapBG().isNull() && bar.BitmapClipBG().isNull() && bar.BitmapClip().isNull() &&
                bar.BitmapStart().isNull() && bar.BitmapEnd().isNull() && bar.BitmapTrack().isNull());
    EXPECT_EQ(bar.property("EndPos").toLongLong(), 100);
}

TEST(TrackBarRounding, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, int64_t> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {2.4999, 2}, {2.5001, 3},
                                                {-0.5, 0}, {-1.5, -2}, {7.0, 7}};
    for (auto [y, want] : cases)
        EXPECT_EQ(RoundHalfEven(y), want) << y;
}

TEST_F(TrackBarTest, SettersClampAndSignalOnlyChanges)
{
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(events, Events{}) << "already 0: no change, no event";

    bar.SetPosition(40);
    bar.SetPosition(-5);
    bar.SetPosition(-7);
    bar.SetPosition(500);
    bar.SetPosition(100);
    EXPECT_EQ(events, (Events{"track=40", "track=0", "track=100"}));

    events.clear();
    bar.SetEndPos(60);
    bar.SetStartPos(80); // above EndPos
    bar.SetStartPos(-3);
    bar.SetEndPos(10); // below StartPos 0 is fine; then below a raised StartPos
    bar.SetStartPos(30);
    bar.SetEndPos(10);
    bar.SetEndPos(1000); // above Max
    EXPECT_EQ(events, (Events{"end=60", "start=60", "start=0", "end=10", "start=10", "end=100"}));
    EXPECT_EQ(bar.StartPos(), 10);
    EXPECT_EQ(bar.EndPos(), 100);
}

TEST_F(TrackBarTest, LoweringMaxLeavesValuesUntilTheyAreSetAgain)
{
    bar.SetPosition(90);
    bar.SetStartPos(20);
    events.clear();
    bar.SetMax(50);
    EXPECT_EQ(bar.Position(), 90);
    EXPECT_EQ(bar.EndPos(), 100);
    EXPECT_EQ(events, Events{});
    bar.SetPosition(bar.Position());
    bar.SetEndPos(bar.EndPos());
    EXPECT_EQ(bar.Position(), 50);
    EXPECT_EQ(bar.EndPos(), 50);
    EXPECT_EQ(events, (Events{"track=50", "end=50"}));
}

TEST_F(TrackBarTest, MarginAndPartRectangles)
{
    bar.SetPosition(50);
    bar.SetStartPos(20);
    bar.SetEndPos(80);
    bar.SetBitmapClipBG(Solid(4, 4, Qt::gray));
    bar.SetClipSpace(8);
    bar.SetClipHeight(4);
    EXPECT_EQ(bar.Margin(), 10);
    // x(20) = R(190 * 0.2) = 38; x(50) = 95; x(80) = 152.
    EXPECT_EQ(bar.PartRect(TVexaTrackBar::Part::Begin), QRect(38, 12, 10, 20)) << "ends at m + x";
    EXPECT_EQ(bar.PartRect(TVexaTrackBar::Part::End), QRect(162, 12, 10, 20)) << "begins at m + x";
    EXPECT_EQ(bar.PartRect(TVexaTrackBar::Part::Thumb), QRect(102, 0, 6, 12)) << "centred on m + x";
    EXPECT_EQ(bar.ClipBarRect(), QRect(48, 8, 114, 4));
    EXPECT_EQ(bar.ClipBGRect(), QRect(10, 10, 190, 4));
    EXPECT_TRUE(bar.PartRect(TVexaTrackBar::Part::Background).isEmpty());

    // Without markers the margin is half the thumb, halves to even: 13 / 2 = 6.5 -> 6, 11 / 2 -> 6.
    bar.SetCutVisible(false);
    for (auto [width, margin] : {std::pair{13, 6}, {11, 6}, {6, 3}}) {
        bar.SetBitmapTrack(Solid(width, 12, Qt::white));
        EXPECT_EQ(bar.Margin(), margin) << width;
    }
    // Progress runs from the track's left end to the thumb: m = 3, x(50) = R(204 * 0.5) = 102.
    EXPECT_EQ(bar.ClipBarRect(), QRect(3, 8, 102, 4));
}

TEST_F(TrackBarTest, PaintsBackgroundThenClipThenMarkersThenThumb)
{
    bar.SetColorBG(QColor(48, 48, 48));
    bar.SetBitmapClip(Solid(4, 4, Qt::red));
    bar.SetClipSpace(0);
    bar.SetClipHeight(32);
    bar.SetStartPos(0);
    bar.SetEndPos(100);
    bar.SetPosition(100); // thumb over the end marker
    QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(48, 48, 48)) << "left of the clip: ColorBG";
    EXPECT_EQ(shot.pixelColor(100, 5), QColor(Qt::red)) << "clip bar";
    EXPECT_EQ(shot.pixelColor(5, 20), QColor(Qt::green)) << "begin marker over the colour";
    EXPECT_EQ(shot.pixelColor(100, 20), QColor(Qt::red)) << "clip bar between the markers";
    EXPECT_EQ(shot.pixelColor(200, 25), QColor(Qt::blue)) << "end marker over the clip bar";
    EXPECT_EQ(shot.pixelColor(200, 5), QColor(Qt::white)) << "thumb over everything";

    bar.SetUseColorBg(false);
    bar.SetCutVisible(false);
    shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 25), QColor(Qt::black)) << "black without ColorBG, no markers";
}

TEST_F(TrackBarTest, BeginMarkerDraggedPastEndStopsThereWhilePositionFollows)
{
    bar.SetStartPos(20);
    bar.SetEndPos(60);
    events.clear();
    // Grab the begin marker (38..48) and pull it to x 124 (value 60), 162 (80) and far outside.
    Drag({44, 20}, {124, 162, 400});
    EXPECT_EQ(bar.StartPos(), 60);
    EXPECT_EQ(bar.EndPos(), 60);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(events, (Events{"start=60", "track=60", "track=80", "track=100"}));
    EXPECT_EQ(bar.DraggedPart(), TVexaTrackBar::Part::None);
}

TEST_F(TrackBarTest, EndMarkerDragMovesPositionFirst)
{
    // End marker at 10 + x(100) = 200..210; drag it to x 105 (value 50) and below the start.
    bar.SetStartPos(30);
    events.clear();
    Drag({205, 20}, {105, -50});
    EXPECT_EQ(events, (Events{"track=50", "end=50", "track=0", "end=30"}));
}

TEST_F(TrackBarTest, ThumbDragAndBackgroundClicks)
{
    // Lowered onto the begin marker, the thumb (7..13 at value 0) wins where they overlap.
    bar.SetSpaceTrack(12);
    Drag({8, 15}, {105});
    EXPECT_EQ(bar.Position(), 50);
    EXPECT_EQ(bar.StartPos(), 0);

    // No background picture: a click away from the parts does nothing.
    events.clear();
    Drag({150, 2}, {60});
    EXPECT_EQ(events, Events{});

    // With one, a click jumps the thumb there, but dragging on the background does not move it.
    bar.SetBitmapBG(Solid(1, 10, Qt::darkGray));
    Drag({162, 2}, {60});
    EXPECT_EQ(events, Events{"track=80"});
    EXPECT_EQ(bar.Position(), 80);
}

TEST_F(TrackBarTest, HiddenMarkersStillReactToClicks)
{
    bar.SetCutVisible(false);
    bar.SetEndPos(60);
    events.clear();
    // Margin is now 3 (half the thumb), usable 204; the end marker sits at 3 + x(60) = 125..135.
    Drag({128, 20}, {105});
    EXPECT_EQ(bar.EndPos(), 50);
    EXPECT_EQ(events, (Events{"track=50", "end=50"}));
}

} // namespace
