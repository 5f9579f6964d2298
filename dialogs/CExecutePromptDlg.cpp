#include "dialogs/CExecutePromptDlg.h"

#include "repair/RepairMessages.h"
#include "framework/Scale.h"
#include "res/resource.h"

namespace {

// What the shadow and glow around the blue panel take from the frame on each side.
const Margins kGlowMargins = {14, 12, 14, 16};

const SkinFrameLayout kFrameLayout = {
    .frameTemplateId = IDD_EXECUTE_PROMPT,
    .contentTemplateId = IDD_EXECUTE_PROMPT_CHILD,
    .imageId = IDP_PROGRESS_FRAME,  // the blue panel in a dark blue shadow and glow
    .designWidth = 232,
    .designHeight = 132,
    .atCreation = kGlowMargins,
    .onMove = kGlowMargins,
    .moveSyncAtStart = 1,
    .cancelsWithoutPicture = false,  // its owner always ends it with WM_CLOSE_PROGRESS
};

const SkinContentLayout kContentLayout = {
    .imageId = IDP_PROGRESS_CONTENT,
    .dragStripExclusion = skin::kNoDragStrip,
    .hoverTimerId = 0,         // nothing hovers
};

// A text shorter than this is replaced by the fallback.
const size_t kMinimumTextLength = 2;
const wchar_t kFallbackText[] = L"正在删除，请稍等";

// The busy text: 20 pixels high, 10 from the sides, centred vertically (scale 1.0).
const int kTextInset = 10;
const int kTextHalfHeight = 10;
const int kTextHeight = 20;
const COLORREF kTextColour = RGB(255, 255, 255);
const RECT kTextSlice = {10, 42, 194, 62};  // the part of PNG 146 under the text

}  // namespace

CExecutePromptChildDlg::CExecutePromptChildDlg() : CSkinContentDlg(kContentLayout) {}

void CExecutePromptChildDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_STATE_STATIC, m_state);
}

void CExecutePromptChildDlg::InitContent()
{
    const float s = GetScale();
    m_state.SetWindowText(m_text.size() >= kMinimumTextLength ? m_text : std::wstring(kFallbackText));
    m_state.SetAlignMode(CSkinStatic::kAlignOneLine);
    m_state.SetTextColor(kTextColour);

    RECT client;
    GetClientRect(&client);
    const int left = client.left + Scaled(kTextInset, s);
    const int top = client.top + (client.bottom - client.top) / 2 - Scaled(kTextHalfHeight, s);
    const int right = client.right - Scaled(kTextInset, s);
    const int bottom = top + Scaled(kTextHeight, s);

    // The text stands on the very piece of the background that lies under it.
    m_state.SetBackgroundImage(GetBackground());
    m_state.SetBackgroundRect(kTextSlice.left, kTextSlice.top, kTextSlice.right, kTextSlice.bottom);
    m_state.MoveWindow(left, top, right - left, bottom - top);
    m_state.CreateFontFromParent();
    m_state.StartAnimation();
}

void CExecutePromptChildDlg::ReleaseContent()
{
    // The static borrows the background: it stops painting from it before the image goes.
    m_state.StopAnimation();
    m_state.SetBackgroundImage(nullptr);
}

BEGIN_MESSAGE_MAP(CExecutePromptDlg, CSkinFrameDlg)
    ON_MESSAGE(WM_CLOSE_PROGRESS, OnCloseProgress)
END_MESSAGE_MAP()

CExecutePromptDlg::CExecutePromptDlg(CWnd* parent) : CSkinFrameDlg(kFrameLayout, parent) {}

std::unique_ptr<CSkinContentDlg> CExecutePromptDlg::MakeContent()
{
    return std::make_unique<CExecutePromptChildDlg>();
}

void CExecutePromptDlg::OnContentPlaced(CSkinContentDlg& content)
{
    static_cast<CExecutePromptChildDlg&>(content).SetText(m_text);
}

// Off the screen at once: the repair's outcome follows this message so closely that its
// prompt may show before the modal loop has unwound, and must not show over a busy notice.
LRESULT CExecutePromptDlg::OnCloseProgress(WPARAM, LPARAM)
{
    if (CSkinContentDlg* content = GetContent(); content && content->m_hWnd) {
        content->ShowWindow(SW_HIDE);
    }
    ShowWindow(SW_HIDE);
    EndDialog(IDOK);
    return 0;
}
