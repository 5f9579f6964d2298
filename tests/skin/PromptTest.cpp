// The prompt on real windows: its button sets, its results for each way of ending it, the
// keys its content swallows and the hover upkeep of its buttons.
#include <gtest/gtest.h>

#include "app/Messages.h"
#include "dialogs/CPromptDlg.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

const DWORD kGiveUpMs = 5000;
const int kGaveUp = -2;

// Runs a prompt of `type` and does `act` with its content once it shows; returns DoModal's
// result.
INT_PTR RunPrompt(int type, const std::function<void(CPromptDlg&, CPromptChildDlg&)>& act)
{
    CPromptDlg prompt;
    prompt.SetText(L"检测到当前工具有新的版本更新，请下载最新版本使用。");
    prompt.SetType(type);
    Later(80, [&] { act(prompt, *prompt.GetPromptContent()); });
    // A click that never arrives fails the test instead of hanging it.
    Later(kGiveUpMs, [&] {
        if (prompt.m_hWnd) {
            prompt.EndDialog(kGaveUp);
        }
    });
    return prompt.DoModal();
}

}  // namespace

TEST(Prompt, TypeThreeShowsOneConfirmButtonThatGivesIdOk)
{
    bool cancelShown = true;
    COLORREF face = 0;
    const INT_PTR result = RunPrompt(kPromptConfirm, [&](CPromptDlg&, CPromptChildDlg& content) {
        cancelShown = content.CancelButton().IsWindowVisible() != FALSE;
        face = ClientPixels(content.OkButton().m_hWnd).At(3, 12);
        ClickAt(CentreOf(content.OkButton().m_hWnd), Waiting::Pump);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(cancelShown);
    // The "确认" face (PNG 162) is blue.
    EXPECT_LE(ColourDistance(face, Opaque(ResourcePng(162).At(3, 12))), 12);
}

TEST(Prompt, TypeThreeCloseButtonGivesIdCancel)
{
    EXPECT_EQ(RunPrompt(kPromptConfirm,
                        [](CPromptDlg&, CPromptChildDlg& content) {
                            ClickAt(CentreOf(content.CloseButton().m_hWnd), Waiting::Pump);
                        }),
              IDCANCEL);
}

TEST(Prompt, TypeFourAnswersOkCancelAndClose)
{
    bool cancelShown = false;
    EXPECT_EQ(RunPrompt(kPromptConfirmCancel,
                        [&](CPromptDlg&, CPromptChildDlg& content) {
                            cancelShown = content.CancelButton().IsWindowVisible() != FALSE;
                            ClickAt(CentreOf(content.OkButton().m_hWnd), Waiting::Pump);
                        }),
              IDOK);
    EXPECT_TRUE(cancelShown);
    EXPECT_EQ(RunPrompt(kPromptConfirmCancel,
                        [](CPromptDlg&, CPromptChildDlg& content) {
                            ClickAt(CentreOf(content.CancelButton().m_hWnd), Waiting::Pump);
                        }),
              IDCANCEL);
    EXPECT_EQ(RunPrompt(kPromptConfirmCancel,
                        [](CPromptDlg&, CPromptChildDlg& content) {
                            ClickAt(CentreOf(content.CloseButton().m_hWnd), Waiting::Pump);
                        }),
              IDCANCEL);
}

TEST(Prompt, ResultMessageEndsTheFrameAsOkOrCancel)
{
    EXPECT_EQ(RunPrompt(kPromptYesNo, [](CPromptDlg& prompt, CPromptChildDlg&) {
                  prompt.SendMessage(WM_PROMPT_RESULT, kPromptOk);
              }),
              IDOK);
    EXPECT_EQ(RunPrompt(kPromptYesNo, [](CPromptDlg& prompt, CPromptChildDlg&) {
                  prompt.SendMessage(WM_PROMPT_RESULT, 7);
              }),
              IDCANCEL);
}

TEST(Prompt, EnterAndEscapeDoNothingInTheContent)
{
    // Enter would choose the default answer (OK), Escape would cancel: each is followed by
    // the other answer's click, which must be what ends the prompt.
    EXPECT_EQ(RunPrompt(kPromptConfirmCancel,
                        [](CPromptDlg&, CPromptChildDlg& content) {
                            PostKey(content.OkButton().m_hWnd, VK_RETURN);
                            PostKey(content.m_hWnd, VK_RETURN);
                            Later(100, [&content] { content.CancelButton().SendMessage(BM_CLICK); });
                        }),
              IDCANCEL);
    EXPECT_EQ(RunPrompt(kPromptConfirmCancel,
                        [](CPromptDlg&, CPromptChildDlg& content) {
                            PostKey(content.CancelButton().m_hWnd, VK_ESCAPE);
                            PostKey(content.m_hWnd, VK_ESCAPE);
                            Later(100, [&content] { content.OkButton().SendMessage(BM_CLICK); });
                        }),
              IDOK);
}

TEST(Prompt, HoverLookReturnsToNormalOnceTheCursorLeaves)
{
    int hovered = 0;
    int afterLeaving = 0;
    RunPrompt(kPromptConfirmCancel, [&](CPromptDlg& prompt, CPromptChildDlg& content) {
        const POINT over = CentreOf(content.OkButton().m_hWnd);
        SendPointerMove(over);
        content.OkButton().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(over.x, over.y));
        hovered = content.OkButton().GetState();
        // Far outside the prompt: only the content's hover timer can notice.
        SendPointerMove(POINT{5, 5});
        PollThen([&] { return content.OkButton().GetState() == kButtonNormal; }, 2000,
                 [&] {
                     afterLeaving = content.OkButton().GetState();
                     prompt.EndDialog(IDOK);
                 });
    });
    EXPECT_EQ(hovered, kButtonHover);
    EXPECT_EQ(afterLeaving, kButtonNormal);
}
