// Where the panel's controls go, as arithmetic: the design's rectangles at scale 1.0 and the
// single-precision, truncating arithmetic at scale 1.2 (LOGPIXELSY 120).
#include <gtest/gtest.h>

#include "app/PanelLayout.h"
#include "tests/support/Geometry.h"

namespace {

// "同意《Tovarin服务工具使用许可协议》" 252 pixels wide (c = 18), "反馈问题" 52.
constexpr int kAgreeWidth = 252;
constexpr int kFeedbackWidth = 52;

}  // namespace

TEST(PanelLayout, AtScale1TheControlsTakeTheirDesignPlaces)
{
    const PanelLayout layout = ComputePanelLayout(RECT{0, 0, 400, 600}, 1.0f, kAgreeWidth, kFeedbackWidth);
    EXPECT_RECT(layout.close, (RECT{368, 0, 394, 34}));
    EXPECT_RECT(layout.minimize, (RECT{340, 0, 366, 34}));
    EXPECT_RECT(layout.version, (RECT{188, 16, 228, 31}));
    EXPECT_RECT(layout.repair, (RECT{58, 260, 342, 345}));
    EXPECT_RECT(layout.repairSlice, (RECT{58, 260, 342, 345}));
    EXPECT_EQ(19, layout.repairInset);
    EXPECT_RECT(layout.moreTools, (RECT{45, 540, 103, 558}));
    EXPECT_RECT(layout.moreToolsSlice, (RECT{45, 540, 103, 558}));
    // The strip from 575 to 595: box and its text, the link 14 columns wide right after it,
    // the feedback link (text + 4 + 2 + 6) ending 6 pixels from the right.
    EXPECT_RECT(layout.agree, (RECT{8, 575, 62, 595}));
    EXPECT_RECT(layout.agreementLink, (RECT{68, 575, 320, 595}));
    EXPECT_RECT(layout.feedbackLink, (RECT{330, 575, 394, 595}));
}

TEST(PanelLayout, AtScale1Point2SizesAreScaledAndTruncated)
{
    // The frame is (int)(410 * 1.2) x (int)(611 * 1.2) = 492 x 733; the panel 12 and 13 less.
    const PanelLayout layout = ComputePanelLayout(RECT{0, 0, 480, 720}, 1.2f, kAgreeWidth, kFeedbackWidth);
    EXPECT_RECT(layout.close, (RECT{442, 0, 473, 40}));     // 480 - 37.44; + 31.2; 40.8
    EXPECT_RECT(layout.minimize, (RECT{408, 0, 439, 40}));  // 480 - 71.76
    EXPECT_RECT(layout.version, (RECT{225, 19, 273, 37}));  // 225.6, 19.2; + 48, + 18
    EXPECT_RECT(layout.repair, (RECT{69, 312, 409, 414}));  // 240 - 170.4, 360 - 48; 340.8 x 102
    EXPECT_RECT(layout.repairSlice, (RECT{58, 260, 342, 345})) << "the picture's own slice is unscaled";
    EXPECT_EQ(22, layout.repairInset);                       // 22.8
    EXPECT_RECT(layout.moreTools, (RECT{54, 648, 123, 669}));  // 54, 720 - 72; 69.6 x 21.6
    EXPECT_RECT(layout.moreToolsSlice, (RECT{45, 540, 103, 558}));
    EXPECT_RECT(layout.agree, (RECT{9, 690, 66, 714}));  // 9.6, 720 - 30; 9 + 19.2 + 36 + 2
    EXPECT_RECT(layout.agreementLink, (RECT{72, 690, 324, 714}));
    EXPECT_RECT(layout.feedbackLink, (RECT{410, 690, 474, 714}));  // 52 + 4.8 + 8 = 64.8
}

TEST(PanelLayout, UnmeasuredTextsLeaveTheLinksEmptyButInTheStrip)
{
    const PanelLayout layout = ComputePanelLayout(RECT{0, 0, 400, 600}, 1.0f, -1, -1);
    EXPECT_RECT(layout.agree, (RECT{8, 575, 26, 595}));
    EXPECT_RECT(layout.agreementLink, (RECT{32, 575, 32, 595}));
    EXPECT_EQ(394, layout.feedbackLink.right);
}
