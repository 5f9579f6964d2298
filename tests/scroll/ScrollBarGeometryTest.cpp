// The skinned scroll bar's layout as arithmetic, without windows.
#include <gtest/gtest.h>

#include <utility>

#include "controls/ScrollBarGeometry.h"
#include "tests/scroll/ScrollTestSupport.h"

namespace {

using Interval = std::pair<int, int>;

// The program's skin at scale 1 on a vertical bar 200 pixels long.
ScrollBarMetrics Bar200(float scale = 1.0f, int edge = 0)
{
    ScrollBarMetrics metrics;
    metrics.length = 200;
    metrics.cell = 13;
    metrics.scale = scale;
    metrics.thumbEdge = edge;
    return metrics;
}

SCROLLINFO Hundred(int pos)
{
    return MakeScrollInfo(0, 99, 10, pos);
}

TEST(ScrollBarGeometry, ThumbAtTheFirstPosition)
{
    const ScrollBarGeometry geometry(Bar200(), Hundred(0));
    EXPECT_EQ(geometry.Arrow(), 13);
    EXPECT_EQ(geometry.Thumb(), 17);  // 174 x 10 / 100
    EXPECT_EQ(geometry.Lead(), 0);
    EXPECT_EQ(geometry.PartInterval(SB_LINEUP), Interval(0, 13));
    EXPECT_EQ(geometry.PartInterval(SB_PAGEUP), Interval(13, 13));
    EXPECT_EQ(geometry.PartInterval(SB_THUMBTRACK), Interval(13, 30));
    EXPECT_EQ(geometry.PartInterval(SB_PAGEDOWN), Interval(30, 187));
    EXPECT_EQ(geometry.PartInterval(SB_LINEDOWN), Interval(187, 200));
    // Any other code is the down arrow.
    EXPECT_EQ(geometry.PartInterval(SB_ENDSCROLL), Interval(187, 200));

    EXPECT_EQ(geometry.PartAt(-1), -1);
    EXPECT_EQ(geometry.PartAt(0), SB_LINEUP);
    EXPECT_EQ(geometry.PartAt(12), SB_LINEUP);
    EXPECT_EQ(geometry.PartAt(13), SB_THUMBTRACK);
    EXPECT_EQ(geometry.PartAt(29), SB_THUMBTRACK);
    EXPECT_EQ(geometry.PartAt(30), SB_PAGEDOWN);
    EXPECT_EQ(geometry.PartAt(186), SB_PAGEDOWN);
    EXPECT_EQ(geometry.PartAt(187), SB_LINEDOWN);
    EXPECT_EQ(geometry.PartAt(500), SB_LINEDOWN);
}

TEST(ScrollBarGeometry, ThumbAtTheLastPositionLeavesNoTrackAfterIt)
{
    const ScrollBarGeometry geometry(Bar200(), Hundred(90));
    EXPECT_EQ(geometry.Lead(), 157);
    EXPECT_EQ(geometry.PartInterval(SB_PAGEUP), Interval(13, 170));
    EXPECT_EQ(geometry.PartInterval(SB_THUMBTRACK), Interval(170, 187));
    EXPECT_EQ(geometry.PartInterval(SB_PAGEDOWN), Interval(187, 187));
    EXPECT_EQ(geometry.PartAt(169), SB_PAGEUP);
    EXPECT_EQ(geometry.PartAt(186), SB_THUMBTRACK);
}

TEST(ScrollBarGeometry, TrackPositionOfADragWinsOverThePosition)
{
    SCROLLINFO info = Hundred(0);
    info.nTrackPos = 45;
    EXPECT_EQ(ScrollBarGeometry(Bar200(), info).Lead(), 157 * 45 / 90);
    info.nTrackPos = -1;
    EXPECT_EQ(ScrollBarGeometry(Bar200(), info).Lead(), 0);
}

TEST(ScrollBarGeometry, BarShorterThanTwoArrowsIsAllArrows)
{
    ScrollBarMetrics metrics = Bar200();
    metrics.length = 20;
    const ScrollBarGeometry geometry(metrics, Hundred(50));
    EXPECT_EQ(geometry.Arrow(), 10);
    EXPECT_EQ(geometry.Thumb(), 0);
    EXPECT_EQ(geometry.PartInterval(SB_LINEUP), Interval(0, 10));
    EXPECT_EQ(geometry.PartInterval(SB_LINEDOWN), Interval(10, 20));
    EXPECT_EQ(geometry.PartAt(9), SB_LINEUP);
    EXPECT_EQ(geometry.PartAt(10), SB_LINEDOWN);
}

TEST(ScrollBarGeometry, ThumbIsAtLeastTheCapsLongAndNoneOnATrackShorterThanThat)
{
    const SCROLLINFO smallPage = MakeScrollInfo(0, 999, 1, 0);  // share 174 / 1000 = 0
    EXPECT_EQ(ScrollBarGeometry(Bar200(), smallPage).Thumb(), 6);
    EXPECT_EQ(ScrollBarGeometry(Bar200(1.0f, 2), smallPage).Thumb(), 10);
    EXPECT_EQ(ScrollBarGeometry(Bar200(1.0f, -4), smallPage).Thumb(), 6);
    ScrollBarMetrics metrics = Bar200();
    metrics.length = 31;  // track 5 < 6
    EXPECT_EQ(ScrollBarGeometry(metrics, Hundred(0)).Thumb(), 0);
    metrics.length = 32;  // track 6
    EXPECT_EQ(ScrollBarGeometry(metrics, Hundred(0)).Thumb(), 6);
}

TEST(ScrollBarGeometry, PageCoveringEverythingHasNoThumbAndTheTrackPartsMeet)
{
    const ScrollBarGeometry geometry(Bar200(), MakeScrollInfo(0, 99, 100, 0));
    EXPECT_EQ(geometry.Thumb(), 0);
    EXPECT_EQ(geometry.Lead(), 87);  // 174 / 2
    EXPECT_EQ(geometry.PartInterval(SB_PAGEUP), Interval(13, 100));
    EXPECT_EQ(geometry.PartInterval(SB_PAGEDOWN), Interval(100, 187));
    EXPECT_EQ(geometry.PartAt(99), SB_PAGEUP);
    EXPECT_EQ(geometry.PartAt(100), SB_PAGEDOWN);
}

TEST(ScrollBarGeometry, EmptyOrInvertedRangeIsTreatedAsNothingToScroll)
{
    // nMax - nMin + 1 = 0: no division by it, no thumb, the track halves meet.
    for (UINT page : {0u, 1u, 5u}) {
        const ScrollBarGeometry geometry(Bar200(), MakeScrollInfo(0, -1, page, 0));
        EXPECT_EQ(geometry.Thumb(), 0) << page;
        EXPECT_EQ(geometry.Lead(), 87) << page;
    }
    const ScrollBarGeometry inverted(Bar200(), MakeScrollInfo(50, 10, 0, 30));
    EXPECT_EQ(inverted.Thumb(), 0);
    EXPECT_EQ(inverted.Lead(), 87);
    // A page larger than the range (never reported by a real control) is the same case.
    const ScrollBarGeometry oversized(Bar200(), MakeScrollInfo(0, 9, 20, 0));
    EXPECT_EQ(oversized.Thumb(), 0);
    EXPECT_EQ(DragTrackPosition(Bar200(), MakeScrollInfo(0, -1, 0, 0), 0, 50), 0);
}

TEST(ScrollBarGeometry, ScaleWidensArrowsAndShortensTheTrack)
{
    const ScrollBarMetrics metrics = Bar200(1.25f);
    EXPECT_EQ(metrics.Thickness(), 16);
    EXPECT_EQ(metrics.Track(), 200 - 32);  // (int)(2 x 13 x 1.25) = 32
    const ScrollBarGeometry geometry(metrics, Hundred(0));
    EXPECT_EQ(geometry.Arrow(), 16);
    EXPECT_EQ(geometry.Thumb(), 16);  // 168 x 10 / 100
}

TEST(ScrollBarGeometry, LongRangesDoNotWrapAround)
{
    // A long text scrolled in pixels: free x pos passes 2^32.
    const SCROLLINFO atEnd = MakeScrollInfo(0, 50000000 + 999999, 1000000, 50000000);
    const ScrollBarGeometry geometry(Bar200(), atEnd);
    EXPECT_EQ(geometry.Lead(), 174 - geometry.Thumb());
    EXPECT_EQ(geometry.PartInterval(SB_THUMBTRACK).second, 187);
}

TEST(ScrollBarGeometry, RangeNotStartingAtZeroPlacesTheThumbFromItsStart)
{
    const SCROLLINFO first = MakeScrollInfo(5, 104, 10, 5);
    EXPECT_EQ(ScrollBarGeometry(Bar200(), first).Lead(), 0);
    const SCROLLINFO last = MakeScrollInfo(5, 104, 10, 95);
    EXPECT_EQ(ScrollBarGeometry(Bar200(), last).Lead(), 157);
}

TEST(ScrollBarDrag, StepFollowsThePointerWithinTheRange)
{
    EXPECT_EQ(DragTrackPosition(Bar200(), Hundred(0), 0, 10), 5);  // 90 x 10 / 157
    EXPECT_EQ(DragTrackPosition(Bar200(), Hundred(0), 0, 157), 90);
    EXPECT_EQ(DragTrackPosition(Bar200(), Hundred(0), 0, 1000), 90);
    EXPECT_EQ(DragTrackPosition(Bar200(), Hundred(0), 0, -10), 0);
    EXPECT_EQ(DragTrackPosition(Bar200(), Hundred(50), 50, -10), 45);  // truncated toward zero
    EXPECT_EQ(DragTrackPosition(Bar200(), MakeScrollInfo(5, 104, 10, 5), 5, 1000), 95);
    EXPECT_EQ(DragTrackPosition(Bar200(), MakeScrollInfo(5, 104, 10, 50), 50, -1000), 5);
}

TEST(ScrollBarSkin, CellIsANinthOfTheSkinWidthAndNothingWithoutSkin)
{
    EXPECT_EQ(SkinCellSize(nullptr), 0);
    BitmapHolder skin = LoadSkin();
    ASSERT_TRUE(skin);
    EXPECT_EQ(SkinCellSize(skin.Get()), 13);
    BitmapHolder narrow = MakeBitmap(8, 3);
    EXPECT_EQ(SkinCellSize(narrow.Get()), 0);
}

}  // namespace
