// The feedback pop-up's arithmetic without windows: its buttons under both rounding rules
// and the report's time text.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/CProblemSolvingFeedbackDlg.h"
#include "tests/popups/PopupsTestSupport.h"

TEST(FeedbackButtonPlaces, AtScaleOneTheButtonsSitUnscaledAroundTheMiddle)
{
    const FeedbackButtonPlaces p = PlaceFeedbackButtons(RECT{0, 0, 400, 468}, 1.0f);
    EXPECT_RECT(p.close, RECT{382, 6, 394, 18});
    EXPECT_RECT(p.solved, RECT{67, 154, 333, 214});
    EXPECT_RECT(p.unsolved, RECT{67, 234, 333, 294});
    EXPECT_RECT(p.moreSolutions, RECT{67, 314, 333, 374});
    EXPECT_EQ(p.hitInset, 9);

    // Up to 400 pixels wide the rectangles stay unscaled, with the halves cut in integers,
    // and the client's own origin counts.
    const FeedbackButtonPlaces odd = PlaceFeedbackButtons(RECT{10, 20, 409, 487}, 1.0f);
    EXPECT_RECT(odd.solved, RECT{76, 173, 342, 233});
    EXPECT_RECT(odd.moreSolutions, RECT{76, 333, 342, 393});
    EXPECT_RECT(odd.close, RECT{391, 26, 403, 38});
}

TEST(FeedbackButtonPlaces, WiderThanFourHundredTheyComeFromTheDesignSizeWithTwoRoundingRules)
{
    // LOGPIXELSY 125: the content is 500 x 585.
    const FeedbackButtonPlaces p = PlaceFeedbackButtons(RECT{0, 0, 500, 585}, 1.25f);
    // 250 - 166.25 cut once gives 83; 250 - (166.25 cut) gives 84.
    EXPECT_RECT(p.solved, RECT{83, 192, 415, 267});
    EXPECT_RECT(p.unsolved, RECT{84, 292, 416, 367});
    EXPECT_RECT(p.moreSolutions, RECT{84, 392, 416, 467});
    EXPECT_RECT(p.close, RECT{478, 7, 493, 22});
    EXPECT_EQ(p.hitInset, 11);

    // LOGPIXELSY 120: 240 - 159.6 gives 80 against 240 - 159 = 81.
    const FeedbackButtonPlaces q = PlaceFeedbackButtons(RECT{0, 0, 480, 562}, 1.2f);
    EXPECT_EQ(q.solved.left, 80);
    EXPECT_EQ(q.unsolved.left, 81);
    EXPECT_EQ(q.solved.top, 280 - 96);
    EXPECT_EQ(q.moreSolutions.top, 280 + 96);
    EXPECT_EQ(q.solved.right - q.solved.left, 319);
    EXPECT_EQ(q.hitInset, 10);
}

TEST(FeedbackTimeText, IsTheLowThirtyTwoBitsAsAPlainSignedDecimal)
{
    EXPECT_EQ(FeedbackTimeText(1700000000), L"1700000000");
    EXPECT_EQ(FeedbackTimeText(0), L"0");
    EXPECT_EQ(FeedbackTimeText((1LL << 32) + 5), L"5");
    EXPECT_EQ(FeedbackTimeText(1LL << 31), L"-2147483648");
}
