// The pop-ups' arithmetic without windows: the feedback buttons under both rounding rules,
// the report's time text and the parts of the agreement bubble's picture.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/AgreementText.h"
#include "dialogs/CProblemSolvingFeedbackDlg.h"
#include "dialogs/CTooltipDlg.h"
#include "tests/support/Geometry.h"

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

TEST(BubbleParts, TheTailKeepsItsSizeAndPlaceAtTheBottomWhateverTheFrameSize)
{
    for (const SIZE size : {SIZE{396, 482}, SIZE{398, 472}, SIZE{600, 300}}) {
        const BubbleParts p = PlaceBubbleParts(size.cx, size.cy, 1.0f);
        const int bodyBottom = size.cy - 11;
        EXPECT_RECT(p.bodyLeft.dest, RECT{0, 0, 70, bodyBottom});
        EXPECT_RECT(p.bodyMiddle.dest, RECT{70, 0, 100, bodyBottom});
        EXPECT_RECT(p.bodyRight.dest, RECT{100, 0, size.cx, bodyBottom});
        EXPECT_RECT(p.tail.dest, RECT{70, bodyBottom, 100, size.cy});
        // The rectangle's rows and the tail's rows of the image, the tail's column unscaled.
        EXPECT_RECT(p.bodyLeft.source, RECT{0, 0, 70, 391});
        EXPECT_RECT(p.bodyMiddle.source, RECT{70, 0, 100, 391});
        EXPECT_RECT(p.bodyRight.source, RECT{100, 0, 541, 391});
        EXPECT_RECT(p.tail.source, RECT{70, 391, 100, 402});
    }
    // Scaled: 11 x 1.25 rows, centred 85 x 1.25 from the left.
    const BubbleParts scaled = PlaceBubbleParts(497, 590, 1.25f);
    EXPECT_RECT(scaled.tail.dest, RECT{106 - 18, 577, 106 + 18, 590});
    EXPECT_RECT(scaled.bodyLeft.dest, RECT{0, 0, 88, 577});
    EXPECT_RECT(scaled.bodyRight.dest, RECT{124, 0, 497, 577});
    // A frame lower than the tail shows only the tail.
    EXPECT_EQ(PlaceBubbleParts(100, 5, 1.0f).bodyLeft.dest.bottom, 0);
}

TEST(AgreementForDisplay, IndentsWithIdeographicSpacesAndKeepsEverythingElse)
{
    EXPECT_EQ(AgreementForDisplay(L"标题\r\n\r\n    1.条款：\r\n    A.项目。"),
              L"标题\r\n\r\n\u3000\u30001.条款：\r\n\u3000\u3000A.项目。");
    EXPECT_EQ(AgreementForDisplay(L"    x"), L"\u3000\u3000x");
    EXPECT_EQ(AgreementForDisplay(L"a    b\r\n  c\r\n"), L"a    b\r\n  c\r\n");
    EXPECT_EQ(AgreementForDisplay(L""), L"");

    const std::wstring agreement = BuildAgreementText();
    const std::wstring shown = AgreementForDisplay(agreement);
    size_t indented = 0;
    for (size_t at = agreement.find(L"\r\n    "); at != std::wstring::npos; at = agreement.find(L"\r\n    ", at + 1)) {
        ++indented;
    }
    EXPECT_GT(indented, 40u);
    EXPECT_EQ(shown.size(), agreement.size() - 2 * indented);
    EXPECT_EQ(shown.find(L"\r\n    "), std::wstring::npos);
}
