// The agreement bubble as a user meets it: opened by its link, read by scrolling with the
// skinned bar (thumb drag, arrow, track, wheel) while it stays open, and hidden by a click
// outside the tool's windows. The text's position is read from the rich edit itself
// (EM_GETFIRSTVISIBLELINE), the bar's look from the screen.
#include <gtest/gtest.h>

#include "tests/e2e/FlowShots.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

// The skin's cell: the arrows' length at scale 1.0.
constexpr int kCell = 13;

std::string EditText(HWND edit)
{
    std::wstring text(8192, L'\0');
    text.resize(static_cast<size_t>(Ask(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return Utf8(text);
}

bool SameImage(const Image& a, const Image& b)
{
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

}  // namespace

TEST(AgreementFlow, TheBubbleOpensScrollsWithItsSkinnedBarAndHidesOnAClickOutside)
{
    FlowShots shots("agreement");
    ToolSession tool(L"agreement");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    EXPECT_TRUE(shots.Tool("main", tool.Run()));

    ASSERT_TRUE(ClickControl(panel, IDC_AGREEMENT_LINK));
    AgreementWindows bubble;
    ASSERT_TRUE(WaitUntil(
        [&] {
            bubble = FindBubble(tool.Run());
            return bubble.frame && ::IsWindowVisible(bubble.frame) && bubble.edit && bubble.bar;
        },
        5000))
        << "the agreement link did not open the bubble";
    const RECT panelRect = WindowScreenRect(panel);
    EXPECT_EQ(RectText(RECT{panelRect.left + 2, panelRect.top + 108, panelRect.right, panelRect.bottom - 20}),
              RectText(WindowScreenRect(bubble.frame)))
        << "the bubble lies over the lower part of the panel";
    const std::string text = EditText(bubble.edit);
    EXPECT_EQ(0u, text.find("Tovarin服务工具使用许可协议\r\n\r\n重要须知\r\n")) << text.substr(0, 80);
    EXPECT_EQ(0, FirstVisibleLine(bubble.edit));
    ASSERT_TRUE(::IsWindowVisible(bubble.bar) && ::IsWindowEnabled(bubble.bar)) << "the skinned bar is not usable";
    ::Sleep(300);
    EXPECT_TRUE(shots.Tool("opened", tool.Run()));

    const RECT bar = WindowScreenRect(bubble.bar);
    const int x = (bar.left + bar.right) / 2;

    // At the top the thumb lies right below the up arrow; dragging it scrolls while it is held.
    ASSERT_TRUE(PressAndDrag(POINT{x, bar.top + kCell + 3}, POINT{x, bar.top + kCell + 3 + 80}, false));
    const bool scrolledWhileHeld = WaitUntil([&] { return FirstVisibleLine(bubble.edit) > 0; }, 3000);
    EXPECT_TRUE(shots.Tool("thumb-dragged", tool.Run()));
    LeftButton(false);
    EXPECT_TRUE(scrolledWhileHeld) << "dragging the thumb did not scroll the text";
    ::Sleep(200);
    const int afterDrag = FirstVisibleLine(bubble.edit);
    EXPECT_GT(afterDrag, 0) << "the text went back when the thumb was released";

    ASSERT_TRUE(ClickAt(POINT{x, bar.bottom - kCell / 2}));
    EXPECT_TRUE(WaitUntil([&] { return FirstVisibleLine(bubble.edit) > afterDrag; }, 3000))
        << "the down arrow did not scroll";
    const int afterArrow = FirstVisibleLine(bubble.edit);
    EXPECT_LE(afterArrow, afterDrag + 2) << "one click on the arrow scrolls by a line";
    EXPECT_TRUE(shots.Tool("arrow-clicked", tool.Run()));

    // Just above the down arrow lies the track below the thumb: a page down.
    ASSERT_TRUE(ClickAt(POINT{x, bar.bottom - kCell - 4}));
    EXPECT_TRUE(WaitUntil([&] { return FirstVisibleLine(bubble.edit) > afterArrow + 5; }, 3000))
        << "a click on the track did not page down; line " << FirstVisibleLine(bubble.edit);
    const int afterTrack = FirstVisibleLine(bubble.edit);
    EXPECT_TRUE(shots.Tool("track-clicked", tool.Run()));

    // The wheel over the text scrolls it back up, and the skinned thumb follows.
    const Image barBeforeWheel = CaptureScreen(bar);
    ASSERT_TRUE(MovePointer(Centre(WindowScreenRect(bubble.edit))));
    TurnWheel(2);
    EXPECT_TRUE(WaitUntil([&] { return FirstVisibleLine(bubble.edit) < afterTrack; }, 3000))
        << "the wheel did not scroll the text";
    EXPECT_TRUE(WaitUntil([&] { return !SameImage(barBeforeWheel, CaptureScreen(bar)); }, 3000, 50))
        << "the skinned thumb did not follow the wheel";
    EXPECT_TRUE(shots.Tool("wheel-turned", tool.Run()));

    // Every click so far fell on the bubble, which stays open.
    EXPECT_TRUE(::IsWindowVisible(bubble.frame));
    EXPECT_TRUE(::IsWindowVisible(bubble.content));

    // A click on the desktop, far from the tool's windows, hides it.
    const POINT outside{20, 20};
    const RECT toolArea = Bounds(VisibleWindows(tool->ProcessId()));
    ASSERT_FALSE(::PtInRect(&toolArea, outside)) << "the tool lies at the corner";
    ASSERT_TRUE(ClickAt(outside));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(bubble.frame) && !::IsWindowVisible(bubble.content); }, 3000))
        << "a click outside the tool's windows did not hide the bubble";
    EXPECT_TRUE(WaitForPanelPainted(panel)) << "the panel is not whole again under the hidden bubble";
    EXPECT_TRUE(shots.Tool("hidden", tool.Run()));
    EXPECT_TRUE(tool->Running());
}
