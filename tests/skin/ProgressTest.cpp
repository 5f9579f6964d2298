// The progress pop-up on real windows: its text, its dots over time, its end on
// WM_CLOSE_PROGRESS, and its deletion while the dot thread sleeps.
#include <gtest/gtest.h>

#include <vector>

#include "app/Messages.h"
#include "dialogs/CExecutePromptDlg.h"
#include "res/resource.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// Whether the thread `id` has ended (or no longer exists).
bool ThreadGone(DWORD id)
{
    HANDLE thread = ::OpenThread(SYNCHRONIZE, FALSE, id);
    if (!thread) {
        return true;
    }
    const bool ended = ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    return ended;
}

}  // namespace

TEST(Progress, EndsWithIdOkOnCloseProgressAfterItsDotsHaveAdvanced)
{
    CExecutePromptDlg progress;
    progress.SetText(L"正在修复，请稍等");
    std::vector<int> phases;
    std::wstring shownText;
    DWORD threadId = 0;
    int whiteText = 0;
    int blueGround = 0;
    Later(20, [&] {
        CDrawStateInfoStatic& busy = progress.GetProgressContent()->StateStatic();
        shownText = busy.GetWindowText();
        threadId = busy.GetAnimationThreadId();
        phases.push_back(busy.GetDotPhase());
        const ClientPixels pixels(busy.m_hWnd);
        whiteText = pixels.Count([](COLORREF c) { return c == RGB(255, 255, 255); });
        blueGround = pixels.Count([](COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100; });
        PollThen(
            [&] {
                if (busy.GetDotPhase() != phases.back()) {
                    phases.push_back(busy.GetDotPhase());
                }
                return phases.size() >= 3;
            },
            4000, [&] { progress.PostMessage(WM_CLOSE_PROGRESS); });
    });
    EXPECT_EQ(progress.DoModal(), IDOK);
    EXPECT_EQ(shownText, L"正在修复，请稍等");
    EXPECT_EQ(phases, (std::vector<int>{0, 1, 2}));
    EXPECT_GT(whiteText, 20) << "white text";
    EXPECT_GT(blueGround, 1000) << "on the blue of the content's picture";
    EXPECT_TRUE(ThreadGone(threadId)) << "the dot thread ends with the pop-up";
    EXPECT_EQ(progress.GetContent(), nullptr);
    EXPECT_EQ(progress.SendMessage(WM_CLOSE_PROGRESS), 0) << "an ended pop-up ignores the message";
}

// The repair's outcome prompt may be shown from a message that arrives before the modal loop
// has unwound: the pop-up must be off the screen as soon as the close message is handled.
TEST(Progress, LeavesTheScreenAsSoonAsCloseProgressIsHandled)
{
    CExecutePromptDlg progress;
    progress.SetText(L"正在修复，请稍等");
    bool frameShownBefore = false;
    bool frameShownAfter = true;
    bool contentShownAfter = true;
    Later(20, [&] {
        HWND content = progress.GetContent()->m_hWnd;
        frameShownBefore = ::IsWindowVisible(progress.m_hWnd) != FALSE;
        progress.SendMessage(WM_CLOSE_PROGRESS);
        frameShownAfter = ::IsWindowVisible(progress.m_hWnd) != FALSE;
        contentShownAfter = ::IsWindowVisible(content) != FALSE;
    });
    EXPECT_EQ(progress.DoModal(), IDOK);
    EXPECT_TRUE(frameShownBefore);
    EXPECT_FALSE(frameShownAfter);
    EXPECT_FALSE(contentShownAfter);
}

TEST(Progress, ShortTextIsReplacedByTheDeletingNotice)
{
    for (const wchar_t* text : {L"", L"修"}) {
        CExecutePromptDlg progress;
        progress.SetText(text);
        std::wstring shown;
        Later(20, [&] {
            shown = progress.GetProgressContent()->StateStatic().GetWindowText();
            progress.SendMessage(WM_CLOSE_PROGRESS);
        });
        progress.DoModal();
        EXPECT_EQ(shown, L"正在删除，请稍等");
    }
}

// While the repair runs, Escape, Enter, Alt+F4 and a close request leave the notice up; only
// the repair's end takes it away.
TEST(Progress, KeysAndCloseRequestsDoNotEndItOnlyTheRepairsEndDoes)
{
    CExecutePromptDlg progress;
    progress.SetText(L"正在修复，请稍等");
    bool upAfterKeys = false;
    Later(20, [&] {
        HWND content = progress.GetContent()->m_hWnd;
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
            ::PostMessageW(content, WM_KEYDOWN, key, 1);
            ::PostMessageW(content, WM_KEYUP, key, 0xC0000001);
        }
        ::PostMessageW(progress.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        ::PostMessageW(progress.m_hWnd, WM_CLOSE, 0, 0);
        ::PostMessageW(content, WM_CLOSE, 0, 0);
    });
    Later(400, [&] {
        upAfterKeys = progress.IsWindowVisible() && progress.IsModal();
        progress.SendMessage(WM_CLOSE_PROGRESS);
    });
    EXPECT_EQ(progress.DoModal(), IDOK);
    EXPECT_TRUE(upAfterKeys);
}

TEST(Progress, DeletedWhileItsDotThreadSleeps)
{
    auto* progress = new CExecutePromptDlg;
    progress->SetText(L"正在修复，请稍等");
    ASSERT_TRUE(progress->Create(IDD_EXECUTE_PROMPT));
    progress->ShowWindow(SW_SHOW);
    CDrawStateInfoStatic& busy = progress->GetProgressContent()->StateStatic();
    const DWORD threadId = busy.GetAnimationThreadId();
    ASSERT_NE(threadId, 0u);
    // After the first dot the thread sleeps 600 ms before the next.
    ASSERT_TRUE(PumpUntil([&] { return busy.GetDotPhase() == 1; }, 2000));
    PumpFor(100);
    HWND frame = progress->m_hWnd;
    HWND content = progress->GetContent()->m_hWnd;
    EXPECT_FALSE(ThreadGone(threadId));

    delete progress;
    EXPECT_TRUE(ThreadGone(threadId)) << "the thread is gone before the static's storage";
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_FALSE(::IsWindow(content));
    PumpFor(700);  // where a stray thread would touch freed memory
}
