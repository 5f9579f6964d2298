// The main window as a window among others: dragged by its top strip, minimised by its own
// button and restored through its system menu, and the about box from that menu.
#include <gtest/gtest.h>

#include <algorithm>

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

const wchar_t kMenuClass[] = L"#32768";
const wchar_t kDialogClass[] = L"#32770";
const wchar_t kAboutTitle[] = L"关于 Veskar";

// The texts of a dialog's children, in their order.
std::vector<std::string> ChildTexts(HWND dialog)
{
    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(Utf8(WindowText(child)));
    }
    return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Whether the screen shows the desktop's colour at a point (that of its top left corner,
// where no window lies in these flows).
bool DesktopShowsAt(POINT point)
{
    const Image corner = CaptureScreen(RECT{2, 2, 3, 3});
    const Image there = CaptureScreen(RECT{point.x, point.y, point.x + 1, point.y + 1});
    return !corner.Empty() && !there.Empty() && corner.pixels == there.pixels;
}

// A pop-up menu of the tool (its system menu) once it shows, painted: the menu window exists
// before its items are drawn, and a picture taken then shows it half white.
HWND WaitForMenu(const ToolRun& run)
{
    HWND menu = WaitForTopLevel(run, kMenuClass, nullptr, 3000);
    return menu && WaitForSteadyArea(WindowScreenRect(menu), 3000) ? menu : nullptr;
}

}  // namespace

TEST(WindowFlows, DraggingTheTopStripMovesTheWholeMainWindow)
{
    FlowShots shots("drag");
    ToolSession tool(L"drag");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    HWND frame = tool->Frame(panel);
    const RECT panelBefore = WindowScreenRect(panel);
    const RECT frameBefore = WindowScreenRect(frame);
    EXPECT_TRUE(shots.Tool("before", tool.Run()));

    const POINT inStrip{panelBefore.left + 120, panelBefore.top + 14};
    ASSERT_TRUE(DragWithMouse(inStrip, POINT{inStrip.x - 150, inStrip.y + 90}, tool->UiThreadId()))
        << "pressing in the top strip did not start the system's move";
    EXPECT_EQ(RectText(Offset(panelBefore, -150, 90)), RectText(WindowScreenRect(panel)));
    EXPECT_EQ(RectText(Offset(frameBefore, -150, 90)), RectText(WindowScreenRect(frame))) << "the frame follows";
    EXPECT_TRUE(shots.Tool("moved", tool.Run()));

    // The main window still works where it now lies.
    ASSERT_TRUE(ClickControl(panel, IDC_MORE_TOOLS));
    EXPECT_TRUE(WaitUntil([&] { return CountCalls(tool.Run(), "OpenUrl") == 1; }, 3000))
        << "the more-tools button did not answer after the move";
}

TEST(WindowFlows, MinimisingByItsButtonAndRestoringThroughTheSystemMenu)
{
    FlowShots shots("minimise-restore");
    ToolSession tool(L"minimise");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    HWND frame = tool->Frame(panel);
    const RECT panelBefore = WindowScreenRect(panel);
    const RECT frameBefore = WindowScreenRect(frame);
    EXPECT_TRUE(shots.Tool("main", tool.Run()));

    ASSERT_TRUE(ClickControl(panel, IDC_MINIMIZE));
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(frame) && !::IsWindowVisible(panel); }, 5000))
        << "the minimise button did not minimise the main window";
    // Where the main window was, the desktop shows again.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const RECT now = WindowScreenRect(frame);
            return !::EqualRect(&frameBefore, &now) && DesktopShowsAt(Centre(frameBefore));
        },
        5000, 50))
        << "the main window stays on the screen";
    EXPECT_TRUE(shots.Screen("minimised"));

    // Without a taskbar Wine leaves a minimised window as a small bar at the bottom of the
    // desktop; a click on it opens its system menu, whose restore entry is taken by its key.
    ASSERT_TRUE(ClickAt(Centre(WindowScreenRect(frame))));
    HWND menu = WaitForMenu(tool.Run());
    ASSERT_NE(nullptr, menu) << "a click on the minimised window opened no system menu";
    EXPECT_TRUE(shots.Area("system-menu", Bounds({menu, frame})));
    PressKey('R');
    ASSERT_TRUE(WaitUntil(
        [&] {
            const RECT now = WindowScreenRect(frame);
            return !::IsIconic(frame) && ::IsWindowVisible(panel) && ::EqualRect(&now, &frameBefore);
        },
        5000))
        << "the restore entry did not restore the main window";
    EXPECT_EQ(RectText(frameBefore), RectText(WindowScreenRect(frame)));
    EXPECT_EQ(RectText(panelBefore), RectText(WindowScreenRect(panel))) << "the panel is back over its frame";
    EXPECT_FALSE(::IsWindowVisible(menu));
    EXPECT_TRUE(WaitForPanelPainted(panel)) << "the restored panel is not painted";
    EXPECT_TRUE(shots.Tool("restored", tool.Run()));

    // The restored panel lies above its frame and takes clicks.
    const POINT onBox = Centre(ControlScreenRect(panel, IDC_AGREE_CHECK));
    EXPECT_EQ(panel, ::GetAncestor(::WindowFromPoint(onBox), GA_ROOT));
    ASSERT_TRUE(ClickAt(POINT{ControlScreenRect(panel, IDC_AGREE_CHECK).left + 8, onBox.y}));
    EXPECT_TRUE(WaitUntil([&] { return CheckState(panel, IDC_AGREE_CHECK) == BST_UNCHECKED; }, 3000))
        << "the restored panel does not take clicks";
}

TEST(WindowFlows, TheAboutBoxOpensFromTheSystemMenuAndClosesWithItsButton)
{
    FlowShots shots("about-box");
    ToolSession tool(L"about");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    HWND frame = tool->Frame(panel);
    EXPECT_TRUE(shots.Tool("main", tool.Run()));

    // The frame shows only its shadow around the panel: a click there makes it the active
    // window, whose system menu Alt+Space opens.
    const RECT frameRect = WindowScreenRect(frame);
    const POINT onShadow{frameRect.left + 2, (frameRect.top + frameRect.bottom) / 2};
    ASSERT_EQ(frame, ::WindowFromPoint(onShadow)) << DescribePoint(onShadow);
    ASSERT_TRUE(ClickAt(onShadow));
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == frame; }, 3000)) << "the frame is not active";
    PressChord(VK_MENU, VK_SPACE);
    HWND menu = WaitForMenu(tool.Run());
    ASSERT_NE(nullptr, menu) << "Alt+Space opened no system menu";
    EXPECT_TRUE(shots.Tool("system-menu", tool.Run()));

    // The about entry is the menu's last: Up from no selection reaches it (its key A is shared
    // with the entry Wine adds about itself).
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    HWND about = WaitForTopLevel(tool.Run(), kDialogClass, kAboutTitle, 5000);
    ASSERT_NE(nullptr, about) << "the about box did not show";
    EXPECT_FALSE(::IsWindowVisible(menu));
    EXPECT_EQ(frame, ::GetWindow(about, GW_OWNER)) << "the about box belongs to the main window";
    const std::vector<std::string> texts = ChildTexts(about);
    EXPECT_TRUE(Contains(texts, "Veskar，1.0 版"));
    EXPECT_TRUE(Contains(texts, "确定"));
    ::Sleep(200);
    EXPECT_TRUE(shots.Tool("about-box", tool.Run()));

    // Modal: the panel does not take clicks while the box shows.
    EXPECT_FALSE(::IsWindowEnabled(frame));
    ASSERT_TRUE(ClickControl(about, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about) || !::IsWindowVisible(about); }, 5000))
        << "the about box stayed after its OK button";
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(frame) != FALSE; }, 3000));
    EXPECT_TRUE(tool->Running());
    EXPECT_TRUE(::IsWindowVisible(panel));
    EXPECT_TRUE(shots.Tool("closed", tool.Run()));
}
