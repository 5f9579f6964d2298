// The check box and the two drawn statics on real windows: the mark after each toggle, the
// scaled mark and text, hover colours, align modes, and the busy text's dot animation.
#include <gtest/gtest.h>

#include "tests/skin/ControlsTestDialog.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kLinkColour = RGB(92, 92, 255);
const COLORREF kLinkHoverColour = RGB(0, 0, 255);

class SkinControlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Open()); }
    void TearDown() override { dialog.DestroyWindow(); }

    // The leftmost column, from `from` on, that has a pixel neither white nor of the mark.
    static int FirstTextColumn(const ClientPixels& shown, int from)
    {
        for (int x = from; x < shown.Width(); ++x) {
            for (int y = 0; y < shown.Height(); ++y) {
                if (ColourDistance(shown.At(x, y), kWhite) > 60) {
                    return x;
                }
            }
        }
        return -1;
    }

    ControlsTestDialog dialog;
};

// The checked cell of PNG 140 is filled blue where the unchecked cell is white.
const COLORREF kCheckedFill = RGB(0x1c, 0x6e, 0xf0);

}  // namespace

TEST_F(SkinControlTest, CheckBoxShowsTheNewMarkAfterEveryToggle)
{
    CCheckBoxBtn& box = dialog.check;
    box.MoveWindow(10, 160, 120, 20);
    box.CreateFontFromParent();
    const RECT mark = box.MarkRect(RECT{0, 0, 120, 20});
    EXPECT_EQ(mark.left, 0);
    EXPECT_EQ(mark.top, 2);
    EXPECT_EQ(mark.right - mark.left, 16);
    EXPECT_EQ(mark.bottom - mark.top, 16);

    const int probeX = 4;
    const int probeY = mark.top + 4;
    for (int toggle = 0; toggle < 4; ++toggle) {
        SCOPED_TRACE("toggle " + std::to_string(toggle));
        const bool checked = box.GetCheck() == BST_CHECKED;
        const ClientPixels shown(box.m_hWnd);
        EXPECT_LE(ColourDistance(shown.At(probeX, probeY), checked ? kCheckedFill : kWhite), 8);
        // A click through the platform button toggles the state.
        box.SendMessage(BM_CLICK);
        EXPECT_NE(box.GetCheck() == BST_CHECKED, checked);
    }
    // The text "同意" starts two pixels after the mark.
    box.SetCheck(BST_UNCHECKED);
    const ClientPixels shown(box.m_hWnd);
    const int textColumn = FirstTextColumn(shown, mark.right);
    EXPECT_GE(textColumn, 18);
    EXPECT_LE(textColumn, 21);
}

TEST_F(SkinControlTest, CheckBoxMarkAndTextGrowWithTheScale)
{
    CCheckBoxBtn& box = dialog.check;
    box.MoveWindow(10, 160, 120, 30);
    box.CreateFontFromParent();
    box.SetScale(1.5f);
    box.SetCheck(BST_CHECKED);
    const RECT mark = box.MarkRect(RECT{0, 0, 120, 30});
    EXPECT_EQ(mark.top, 15 - 12);
    EXPECT_EQ(mark.right - mark.left, 24);
    EXPECT_EQ(mark.bottom - mark.top, 24);
    box.Invalidate(TRUE);
    const ClientPixels shown(box.m_hWnd);
    EXPECT_LE(ColourDistance(shown.At(20, 15), kCheckedFill), 12) << "the blue mark reaches past 16 pixels";
    const int textColumn = FirstTextColumn(shown, mark.right);
    EXPECT_GE(textColumn, 26);
    EXPECT_LE(textColumn, 29);
}

TEST_F(SkinControlTest, TextStaticTakesItsHoverColourWhileThePointerIsOverIt)
{
    CDrawTextStatic& link = dialog.text;
    link.MoveWindow(10, 190, 200, 20);
    link.SetWindowText(L"反馈问题");
    link.CreateFontFromParent();
    link.SetAlignMode(1);
    link.SetTextColors(kLinkColour, kLinkHoverColour);
    auto countColour = [&](COLORREF colour) {
        return ClientPixels(link.m_hWnd).Count([colour](COLORREF c) { return ColourDistance(c, colour) <= 2; });
    };
    EXPECT_GT(countColour(kLinkColour), 10);
    EXPECT_EQ(countColour(kLinkHoverColour), 0);

    RECT window;
    link.GetWindowRect(&window);
    link.RefreshHover(window.left + 5, window.top + 5);
    EXPECT_TRUE(link.IsHover());
    EXPECT_TRUE(link.ContainsScreenPoint(window.left + 5, window.top + 5));
    EXPECT_GT(countColour(kLinkHoverColour), 10);
    EXPECT_EQ(countColour(kLinkColour), 0);

    link.RefreshHover(window.right + 5, window.top + 5);
    EXPECT_FALSE(link.IsHover());
    EXPECT_FALSE(link.ContainsScreenPoint(window.right + 5, window.top + 5));
    EXPECT_GT(countColour(kLinkColour), 10);
}

TEST_F(SkinControlTest, TextStaticModeFiveShowsTheSliceWithoutText)
{
    CDrawTextStatic& label = dialog.text;
    label.MoveWindow(10, 190, 184, 20);
    label.SetWindowText(L"1.0.3");
    label.CreateFontFromParent();
    PngImagePtr picture;
    ASSERT_TRUE(LoadPngResource(&picture, 146));
    label.SetBackgroundImage(picture.get());
    label.SetBackgroundRect(10, 42, 194, 62);
    label.SetTextColors(kWhite, kWhite);

    label.SetAlignMode(5);
    label.Invalidate(TRUE);
    const Image reference = ResourcePng(146);
    const ClientPixels bare(label.m_hWnd);
    int whiteOnBare = 0;
    for (int x = 0; x < 184; ++x) {
        for (int y = 0; y < 20; ++y) {
            ASSERT_LE(ColourDistance(bare.At(x, y), Opaque(reference.At(10 + x, 42 + y))), 12);
            whiteOnBare += bare.At(x, y) == kWhite ? 1 : 0;
        }
    }
    label.SetAlignMode(1);
    label.Invalidate(TRUE);
    const int whiteWithText = ClientPixels(label.m_hWnd).Count([](COLORREF c) { return c == kWhite; });
    EXPECT_GT(whiteWithText, whiteOnBare + 10) << "mode 1 draws the white text";
    label.SetBackgroundImage(nullptr);
    label.Invalidate(TRUE);
    ::UpdateWindow(label.m_hWnd);
}

TEST_F(SkinControlTest, BusyTextCyclesItsDotsAndStopsForGood)
{
    CDrawStateInfoStatic& busy = dialog.state;
    busy.MoveWindow(10, 220, 184, 20);
    busy.SetWindowText(L"正在修复，请稍等");
    busy.CreateFontFromParent();
    busy.SetAlignMode(1);
    const int bareInk = ClientPixels(busy.m_hWnd).Count([](COLORREF c) { return c != kWhite; });
    EXPECT_GT(bareInk, 20);

    busy.StartAnimation();
    EXPECT_TRUE(busy.IsAnimationThreadRunning());
    EXPECT_EQ(busy.GetDotPhase(), 0) << "the first dot comes later";
    std::vector<int> seen{busy.GetDotPhase()};
    PumpUntil(
        [&] {
            if (busy.GetDotPhase() != seen.back()) {
                seen.push_back(busy.GetDotPhase());
            }
            return seen.size() >= 3;
        },
        4000);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    const int dottedInk = ClientPixels(busy.m_hWnd).Count([](COLORREF c) { return c != kWhite; });
    EXPECT_GT(dottedInk, bareInk) << "the dots are drawn after the text";

    busy.StopAnimation();
    EXPECT_EQ(busy.GetDotPhase(), 0);
    EXPECT_FALSE(busy.IsAnimationThreadRunning()) << "StopAnimation waits for the thread";
    PumpFor(700);
    EXPECT_EQ(busy.GetDotPhase(), 0);
    EXPECT_EQ(ClientPixels(busy.m_hWnd).Count([](COLORREF c) { return c != kWhite; }), bareInk);
    busy.StartAnimation();
    EXPECT_FALSE(busy.IsAnimationThreadRunning()) << "not restarted";
}
