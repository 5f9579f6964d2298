// The start rectangle of a frame, without windows: centring on the screen and the frame's own
// scale from the screen density (the pairs that use them come later; the numbers are theirs).
#include <gtest/gtest.h>

#include "dialogs/SkinLayout.h"

namespace {

RECT Start(int width, int height, bool centred, float scale)
{
    SkinFrameLayout layout{};
    layout.designWidth = width;
    layout.designHeight = height;
    layout.centredOnScreen = centred;
    return skin::StartRect(layout, scale, POINT{7, 9}, SIZE{1280, 1024});
}

}  // namespace

TEST(SkinLayout, StartRectangleKeepsTheOriginOrCentresOnTheScreen)
{
    const RECT progress = Start(232, 132, false, 1.25f);
    EXPECT_EQ(progress.left, 7);
    EXPECT_EQ(progress.right, 7 + 290);
    EXPECT_EQ(progress.bottom, 9 + 165);
    // The main window, 410 x 611, centred; at 1.2 its height is 733 (733.2 cut).
    const RECT main = Start(410, 611, true, 1.0f);
    EXPECT_EQ(main.left, 435);
    EXPECT_EQ(main.top, 207);
    const RECT scaled = Start(410, 611, true, 1.2f);
    EXPECT_EQ(scaled.left, 394);
    EXPECT_EQ(scaled.top, 146);
    EXPECT_EQ(scaled.right - scaled.left, 492);
    EXPECT_EQ(scaled.bottom - scaled.top, 733);
}

TEST(SkinLayout, AContentIsPlacedWithItsSizeCutOnceAfterTheMargins)
{
    // The main window at 120 dots per inch: 492 x 733, margins 5, 4, 5, 7.
    const RECT frame{394, 146, 394 + 492, 146 + 733};
    const RECT panel = skin::PlaceAtCreation(frame, Margins{5, 4, 5, 7}, skin::ScaleFromDpi(120));
    EXPECT_EQ(panel.left, 400);
    EXPECT_EQ(panel.top, 150);
    EXPECT_EQ(panel.right - panel.left, 480);
    EXPECT_EQ(panel.bottom - panel.top, 719) << "733 - 13.2, cut once";
    // At scale 1.0 nothing is cut, and it is the inset by the margins.
    const RECT plain{0, 0, 410, 611};
    const RECT inset = skin::Inset(plain, Margins{5, 4, 5, 7}, 1.0f);
    const RECT placed = skin::PlaceAtCreation(plain, Margins{5, 4, 5, 7}, 1.0f);
    EXPECT_TRUE(::EqualRect(&inset, &placed));
}

TEST(SkinLayout, OwnScaleFollowsTheScreenDensityOverOneHundred)
{
    EXPECT_EQ(skin::ScaleFromDpi(96), 1.0f);
    EXPECT_EQ(skin::ScaleFromDpi(100), 1.0f);
    // The feedback frame at 120 dots per inch: 410 x 479 becomes 492 x 574.
    const RECT feedback = Start(410, 479, false, skin::ScaleFromDpi(120));
    EXPECT_EQ(feedback.right - feedback.left, 492);
    EXPECT_EQ(feedback.bottom - feedback.top, 574);
}
