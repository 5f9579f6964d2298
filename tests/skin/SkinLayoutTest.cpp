// The rectangle arithmetic of the frame and content pairs, without windows.
#include <gtest/gtest.h>

#include "dialogs/SkinLayout.h"

namespace {

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

SkinFrameLayout FrameOf(int width, int height, bool centred)
{
    SkinFrameLayout layout{};
    layout.designWidth = width;
    layout.designHeight = height;
    layout.centredOnScreen = centred;
    return layout;
}

}  // namespace

TEST(SkinLayout, MarginsAreScaledAndTruncatedPerSide)
{
    const RECT frame{100, 200, 436, 356};
    EXPECT_TRUE(Same(skin::Inset(frame, {5, 3, 5, 7}, 1.0f), RECT{105, 203, 431, 349}));
    // 5 x 1.25 = 6.25 and 7 x 1.25 = 8.75 are cut, not rounded.
    EXPECT_TRUE(Same(skin::Inset(frame, {5, 3, 5, 7}, 1.25f), RECT{106, 203, 430, 348}));
    EXPECT_TRUE(Same(skin::Outset(RECT{106, 203, 430, 348}, {5, 3, 5, 7}, 1.25f), frame));
}

TEST(SkinLayout, StartRectangleKeepsTheOriginOrCentresOnTheScreen)
{
    const SIZE screen{1280, 1024};
    EXPECT_TRUE(Same(skin::StartRect(FrameOf(232, 132, false), 1.0f, POINT{7, 9}, screen), RECT{7, 9, 239, 141}));
    EXPECT_TRUE(Same(skin::StartRect(FrameOf(232, 132, false), 1.25f, POINT{0, 0}, screen), RECT{0, 0, 290, 165}));
    // The main window: 410 x 611 centred; at 1.2 the sizes are 492 x 733 (733.2 cut).
    EXPECT_TRUE(Same(skin::StartRect(FrameOf(410, 611, true), 1.0f, POINT{0, 0}, screen), RECT{435, 207, 845, 818}));
    EXPECT_TRUE(Same(skin::StartRect(FrameOf(410, 611, true), 1.2f, POINT{0, 0}, screen), RECT{394, 146, 886, 879}));
}

TEST(SkinLayout, OwnScaleFollowsTheScreenDensityOverOneHundred)
{
    EXPECT_EQ(skin::ScaleFromDpi(96), 1.0f);
    EXPECT_EQ(skin::ScaleFromDpi(100), 1.0f);
    const float scale = skin::ScaleFromDpi(120);
    EXPECT_FLOAT_EQ(scale, 1.2f);
    // The feedback frame at 120 dots per inch: 410 x 479 becomes 492 x 574.
    const RECT feedback = skin::StartRect(FrameOf(410, 479, false), scale, POINT{0, 0}, SIZE{1280, 1024});
    EXPECT_EQ(feedback.right, 492);
    EXPECT_EQ(feedback.bottom, 574);
}

TEST(SkinLayout, DragStripIsTheTopThirtyPixelsLessTheRightExclusion)
{
    const RECT client{105, 203, 431, 349};
    EXPECT_TRUE(Same(skin::DragStrip(client, 26), RECT{105, 203, 405, 233}));
    EXPECT_TRUE(Same(skin::DragStrip(client, 86), RECT{105, 203, 345, 233}));
    const RECT none = skin::DragStrip(client, -1);
    EXPECT_TRUE(::IsRectEmpty(&none));
}
