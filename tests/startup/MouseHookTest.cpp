// The low-level mouse hook with real input: presses anywhere on the desktop reach the hook
// window as WM_HOOK_LBUTTONDOWN, left presses only, and every event is passed on.
#include <gtest/gtest.h>
#include <windowsx.h>

#include <functional>
#include <thread>

#include "app/Messages.h"
#include "repair/CMouseHook.h"
#include "tests/support/Input.h"

using namespace testsupport;

namespace {

// What an earlier hook in the chain saw: it only sees what CMouseHook passes on.
struct Seen {
    int leftDown = 0;
    int leftUp = 0;
    int rightDown = 0;
    int moves = 0;
};
Seen g_seen;
HHOOK g_observer = nullptr;

LRESULT CALLBACK ObserverProc(int code, WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case WM_LBUTTONDOWN: ++g_seen.leftDown; break;
    case WM_LBUTTONUP: ++g_seen.leftUp; break;
    case WM_RBUTTONDOWN: ++g_seen.rightDown; break;
    case WM_MOUSEMOVE: ++g_seen.moves; break;
    }
    return ::CallNextHookEx(g_observer, code, wParam, lParam);
}

// A point on the bare desktop, away from any taskbar; the test's own windows are hidden.
POINT DesktopPoint(int shift)
{
    return {::GetSystemMetrics(SM_CXSCREEN) * 3 / 4 + shift, ::GetSystemMetrics(SM_CYSCREEN) / 3 + shift};
}

class MouseHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_seen = {};
        g_observer = ::SetWindowsHookExW(WH_MOUSE_LL, ObserverProc, nullptr, 0);
        ASSERT_NE(nullptr, g_observer);
        m_window = ::CreateWindowExW(0, L"STATIC", L"hook window", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr);
        ASSERT_NE(nullptr, m_window);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_window);
        ::UnhookWindowsHookEx(g_observer);
    }

    // Sends the input from another thread, as the hooks are called on this one while it
    // retrieves messages. Pumps until the observer has seen the final left release, then a
    // little longer to catch any extra report. Returns the reports the hook window got.
    int SendAndCount(const std::function<void()>& input)
    {
        std::thread sender(input);
        int reports = 0;
        DWORD start = ::GetTickCount();
        DWORD settledAt = 0;
        while (::GetTickCount() - start < 8000) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == m_window && msg.message == WM_HOOK_LBUTTONDOWN) {
                    ++reports;
                    EXPECT_EQ(static_cast<WPARAM>(WM_LBUTTONDOWN), msg.wParam);
                    reportedPoint = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
                }
                ::DispatchMessageW(&msg);
            }
            if (!settledAt && g_seen.leftUp > 0) {
                settledAt = ::GetTickCount();
            }
            if (settledAt && ::GetTickCount() - settledAt > 300) {
                break;
            }
        }
        sender.join();
        EXPECT_NE(0u, settledAt) << "the input never reached the hooks";
        return reports;
    }

    // A right click, a move and a left click on the desktop.
    static void ClickSequence()
    {
        MovePointer(DesktopPoint(0));
        RightButton(true);
        RightButton(false);
        ClickAt(DesktopPoint(20));
    }

    HWND m_window = nullptr;
    // The point the last report carried.
    POINT reportedPoint{-1, -1};
};

} // namespace

// A right click and moves come first: only the left press after them is reported, with the
// point where it happened.
TEST_F(MouseHookTest, ReportsOneLeftPressOutsideTheProgramAndPassesEveryEventOn)
{
    CMouseHook hook;
    ASSERT_TRUE(hook.SetHookWindow(m_window));
    EXPECT_FALSE(hook.SetHookWindow(nullptr));
    ASSERT_TRUE(hook.InstallHook());

    EXPECT_EQ(1, SendAndCount(&ClickSequence));
    const POINT pressed = DesktopPoint(20);
    EXPECT_NEAR(pressed.x, reportedPoint.x, 1);
    EXPECT_NEAR(pressed.y, reportedPoint.y, 1);
    EXPECT_EQ(1, g_seen.rightDown);
    EXPECT_EQ(1, g_seen.leftDown);
    EXPECT_GE(g_seen.moves, 2);
    hook.RemoveHook();
}

TEST_F(MouseHookTest, ReportsNothingOnceRemoved)
{
    CMouseHook hook;
    ASSERT_TRUE(hook.SetHookWindow(m_window));
    ASSERT_TRUE(hook.InstallHook());
    hook.RemoveHook();

    EXPECT_EQ(0, SendAndCount(&ClickSequence));
    EXPECT_EQ(1, g_seen.leftDown);
}
