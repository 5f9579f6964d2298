#include "app/CQuenmarRepairDlg.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "app/PanelLayout.h"
#include "app/ToolTexts.h"
#include "dialogs/CProblemSolvingFeedbackDlg.h"
#include "dialogs/CPromptDlg.h"
#include "dialogs/CSkinFrameDlg.h"
#include "framework/ThreadWait.h"
#include "repair/CMouseHook.h"
#include "repair/MakerPages.h"
#include "repair/RepairMessages.h"
#include "repair/ToolIdentity.h"
#include "res/resource.h"

namespace {

constexpr UINT kHoverTimerId = 33;
// The new-version check runs once, this long after the layout.
constexpr UINT kVersionCheckTimerId = 39;
constexpr UINT kVersionCheckDelayMs = 100;
// GetToolIsNewVersion's answer when a newer tool exists.
constexpr int kNewVersionExists = 3;
// How long the panel's going waits for its workers.
constexpr DWORD kWorkerJoinBoundMs = 5000;

// A check-box worker to the panel (posted): the box as the worker read it. wParam the number
// of the click the worker was started for, lParam 1 when the box is ticked.
constexpr UINT kAgreeStateRead = WM_APP + 0x33;

// What one check-box worker is given; the worker deletes it.
struct AgreeCheck {
    HWND panel;
    HWND box;
    WPARAM click;
};

const SkinContentLayout kContentLayout = {
    .imageId = IDP_PANEL,
    .dragStripExclusion = 86,  // the close and minimise corner of the top strip does not drag
    .dragFlagAtStart = 1,      // the frame follows the panel's very first move
    .hoverTimerId = kHoverTimerId,
    .smoothBackground = true,
    .swallowsEnterEscape = true,
};

const wchar_t kTextUnsupportedSystem[] = L"此工具不支持当前系统";
const wchar_t kTextNewVersion[] = L"检测到当前工具有新的版本更新，请下载最新版本使用。";
const wchar_t kTextRepairing[] = L"正在修复，请稍等";
const wchar_t kAgreeAndLinkText[] = L"同意《Tovarin服务工具使用许可协议》";
const wchar_t kFeedbackLinkText[] = L"反馈问题";

// Colours of the links: RGB(92, 92, 255), and pure blue under the pointer.
constexpr COLORREF kLinkColour = 0xFF5C5C;
constexpr COLORREF kLinkHoverColour = 0xFF0000;
constexpr COLORREF kWhite = 0xFFFFFF;

void MoveTo(CWnd& control, const RECT& rect)
{
    control.MoveWindow(rect, TRUE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CQuenmarRepairDlg, CSkinContentDlg)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_REPAIR_RESULT, OnRepairResult)
    ON_MESSAGE(WM_CLOSE_PROGRESS, OnCloseProgress)
    ON_MESSAGE(WM_HOOK_LBUTTONDOWN, OnHookLButtonDown)
    ON_MESSAGE(kAgreeStateRead, OnAgreeStateRead)
    ON_BN_CLICKED(IDC_AGREE_CHECK, OnAgreeClicked)
    ON_BN_CLICKED(IDC_CLOSE, OnCloseClicked)
    ON_BN_CLICKED(IDC_MINIMIZE, OnMinimizeClicked)
    ON_BN_CLICKED(IDC_REPAIR, OnRepairClicked)
    ON_BN_CLICKED(IDC_MORE_TOOLS, OnMoreToolsClicked)
    ON_CONTROL(STN_CLICKED, IDC_AGREEMENT_LINK, ToggleAgreement)
    ON_CONTROL(STN_CLICKED, IDC_FEEDBACK_LINK, AskFeedbackQuestion)
END_MESSAGE_MAP()

CQuenmarRepairDlg::CQuenmarRepairDlg() : CSkinContentDlg(kContentLayout) {}

void CQuenmarRepairDlg::DoDataExchange(CDataExchange* pDX)
{
    BindSkinControls(pDX, {{IDC_VERSION, m_version},
                           {IDC_CLOSE, m_close, kHovers},
                           {IDC_MINIMIZE, m_minimize, kHovers},
                           {IDC_REPAIR, m_repair, kHovers},
                           {IDC_MORE_TOOLS, m_moreTools, kHovers},
                           {IDC_AGREE_CHECK, m_agree},
                           {IDC_AGREEMENT_LINK, m_agreementLink, kHovers},
                           {IDC_FEEDBACK_LINK, m_feedbackLink, kHovers}});
}

BOOL CQuenmarRepairDlg::OnInitDialog()
{
    CSkinContentDlg::OnInitDialog();
    RunStartupChecks();
    return TRUE;
}

void CQuenmarRepairDlg::ShowPrompt(const wchar_t* text, CWnd* owner)
{
    CPromptDlg prompt(owner);
    prompt.SetScale(GetScale());
    prompt.SetText(text);
    prompt.SetType(kPromptConfirm);
    prompt.DoModal();
}

// No window is destroyed on this way out, so the tool's folder stays.
void CQuenmarRepairDlg::FailStartup(const wchar_t* text)
{
    ShowPrompt(text, nullptr);
    std::exit(0);
}

void CQuenmarRepairDlg::RunStartupChecks()
{
    if (!m_repairTask.SetNotifyWindow(m_hWnd)) {
        FailStartup(kTextInitFailed);
    }
    if (!m_repairTask.IsSupportedSystem()) {
        FailStartup(kTextUnsupportedSystem);
    }
    if (!m_hook.SetHookWindow(m_hWnd) || !m_hook.InstallHook()) {
        FailStartup(kTextInitFailed);
    }
    if (!m_feedback.LoadFeedbackLibrary() || m_feedback.InitFreedbackDll() == 0) {
        FailStartup(kTextInitFailed);
    }
}

void CQuenmarRepairDlg::InitContent()
{
    const float s = GetScale();
    RECT client;
    GetClientRect(&client);

    int agreeWidth = -1;
    int feedbackWidth = -1;
    {
        // Texts are measured in the owner's font, on the panel's device context.
        WindowDC dc(m_hWnd);
        agreeWidth = GetTextWidth(GetOwner(), dc.Get(), kAgreeAndLinkText);
        feedbackWidth = GetTextWidth(GetOwner(), dc.Get(), kFeedbackLinkText);
    }
    const PanelLayout layout = ComputePanelLayout(client, s, agreeWidth, feedbackWidth);

    m_close.SetImages(IDP_PANEL_CLOSE_NORMAL, IDP_PANEL_CLOSE_HOVER, IDP_PANEL_CLOSE_PRESSED, IDP_PANEL_CLOSE_DISABLED);
    MoveTo(m_close, layout.close);
    m_close.SetStretch(TRUE);
    m_minimize.SetImages(IDP_MINIMIZE_NORMAL, IDP_MINIMIZE_HOVER, IDP_MINIMIZE_PRESSED, IDP_MINIMIZE_DISABLED);
    MoveTo(m_minimize, layout.minimize);
    m_minimize.SetStretch(TRUE);

    m_version.SetWindowText(TOOL_VERSION);
    m_version.SetBackgroundImage(GetBackground());
    m_version.SetBackgroundRect(188, 16, 228, 31);
    m_version.CreateFontFromParent();
    m_version.SetAlignMode(CSkinStatic::kAlignOneLine);
    m_version.SetBkColor(kWhite);
    m_version.SetTextColors(kWhite, kWhite);
    MoveTo(m_version, layout.version);

    const RECT& slice = layout.repairSlice;
    m_repair.SetBackgroundImage(GetBackground());
    m_repair.SetBackgroundRect(slice.left, slice.top, slice.right, slice.bottom);
    m_repair.SetHitInset(layout.repairInset, layout.repairInset, layout.repairInset, layout.repairInset);
    m_repair.SetStretch(TRUE);
    m_repair.SetImages(IDP_REPAIR_NORMAL, IDP_REPAIR_HOVER, IDP_REPAIR_PRESSED, IDP_REPAIR_DISABLED);
    MoveTo(m_repair, layout.repair);

    const RECT& toolsSlice = layout.moreToolsSlice;
    m_moreTools.SetBackgroundImage(GetBackground());
    m_moreTools.SetBackgroundRect(toolsSlice.left, toolsSlice.top, toolsSlice.right, toolsSlice.bottom);
    m_moreTools.SetStretch(TRUE);
    m_moreTools.SetHitInset(0, 0, 0, 0);
    m_moreTools.SetImages(IDP_MORE_TOOLS_NORMAL, IDP_MORE_TOOLS_HOVER, IDP_MORE_TOOLS_PRESSED,
                          IDP_MORE_TOOLS_DISABLED);
    MoveTo(m_moreTools, layout.moreTools);

    m_agree.CreateFontFromParent();
    m_agree.SetScale(s);
    MoveTo(m_agree, layout.agree);
    m_agree.SetCheck(BST_CHECKED);

    for (CDrawTextStatic* link : {&m_agreementLink, &m_feedbackLink}) {
        link->CreateFontFromParent();
        link->SetAlignMode(CSkinStatic::kAlignOneLine);
        link->SetBkColor(kWhite);
        link->SetTextColors(kLinkColour, kLinkHoverColour);
    }
    MoveTo(m_agreementLink, layout.agreementLink);
    MoveTo(m_feedbackLink, layout.feedbackLink);

    SetTimer(kVersionCheckTimerId, kVersionCheckDelayMs);
}

void CQuenmarRepairDlg::OnTimer(UINT_PTR id)
{
    if (id == kVersionCheckTimerId) {
        KillTimer(kVersionCheckTimerId);
        CheckForNewVersion();
        Default();
        return;
    }
    CSkinContentDlg::OnTimer(id);
}

void CQuenmarRepairDlg::CheckForNewVersion()
{
    if (m_feedback.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION) != kNewVersionExists) {
        return;
    }
    ShowPrompt(kTextNewVersion, this);
    m_feedback.OpenToolDownUrl();
    std::exit(0);
}

void CQuenmarRepairDlg::OnAgreeClicked()
{
    ForgetEndedAgreeWorkers();
    auto* check = new AgreeCheck{m_hWnd, m_agree.m_hWnd, ++m_agreeClicks};
    HANDLE thread = ::CreateThread(nullptr, 0, &CQuenmarRepairDlg::AgreeCheckThreadProc, check, 0, nullptr);
    if (!thread) {
        delete check;
        m_repair.EnableButton(m_agree.GetCheck() == BST_CHECKED);
        return;
    }
    m_agreeWorkers.emplace_back(thread);
}

// The worker asks for the check state, which the interface thread answers once it has
// finished with the click, and hands it back; it touches no window of the panel's itself.
DWORD WINAPI CQuenmarRepairDlg::AgreeCheckThreadProc(LPVOID param)
{
    const std::unique_ptr<AgreeCheck> check(static_cast<AgreeCheck*>(param));
    const LRESULT state = ::SendMessageW(check->box, BM_GETCHECK, 0, 0);
    ::PostMessageW(check->panel, kAgreeStateRead, check->click, state == BST_CHECKED ? 1 : 0);
    return 1;
}

// Readings arrive in any order after a burst of clicks: the newest click's decides.
LRESULT CQuenmarRepairDlg::OnAgreeStateRead(WPARAM click, LPARAM checked)
{
    if (!m_closing && click == m_agreeClicks) {
        m_repair.EnableButton(checked != 0);
    }
    ForgetEndedAgreeWorkers();
    return 0;
}

void CQuenmarRepairDlg::ForgetEndedAgreeWorkers()
{
    m_agreeWorkers.erase(std::remove_if(m_agreeWorkers.begin(), m_agreeWorkers.end(),
                                        [](const UniqueHandle& worker) {
                                            return ::WaitForSingleObject(worker.Get(), 0) == WAIT_OBJECT_0;
                                        }),
                         m_agreeWorkers.end());
}

// Before the main window ends, the user is asked whether the problem was solved.
void CQuenmarRepairDlg::OnCloseClicked()
{
    CProblemSolvingFeedbackDlg feedback;
    feedback.SetFeedbackLibrary(&m_feedback);
    feedback.DoModal();
    ::SendMessageW(GetOwner(), WM_CLOSE, 0, 0);
}

// The links are plain statics that let clicks through to the panel, which tells them apart.
void CQuenmarRepairDlg::OnLButtonDown(UINT, POINT point)
{
    ClientToScreen(&point);
    if (m_feedbackLink.ContainsScreenPoint(point.x, point.y)) {
        AskFeedbackQuestion();
    }
    if (m_agreementLink.ContainsScreenPoint(point.x, point.y)) {
        ToggleAgreement();
    } else if (m_agreement) {
        HideAgreement();
    }
    Default();
}

void CQuenmarRepairDlg::AskFeedbackQuestion()
{
    m_feedback.FeedbackQuestion(TOOL_ID, TOOL_VERSION);
}

void CQuenmarRepairDlg::ToggleAgreement()
{
    const float s = GetScale();
    if (!m_agreement) {
        m_agreement = std::make_unique<CTooltipDlg>();
        m_agreement->SetScale(s);
        m_agreement->Create(IDD_TOOLTIP, this);
    }
    RECT panel;
    GetWindowRect(&panel);
    const int width = panel.right - panel.left;
    const int height = panel.bottom - panel.top;
    m_agreement->MoveWindow(static_cast<int>(panel.left + 2 * s), static_cast<int>(panel.top + 108 * s),
                            static_cast<int>(width - 2 * s), static_cast<int>(height - 128 * s), TRUE);
    if (m_agreement->IsWindowVisible()) {
        HideAgreement();
    } else {
        m_agreement->ShowWindow(SW_SHOW);
        m_agreement->ShowContent(CTooltipDlg::kShown);
    }
}

void CQuenmarRepairDlg::HideAgreement()
{
    m_agreement->ShowWindow(SW_HIDE);
    m_agreement->ShowContent(CTooltipDlg::kHidden);
}

// A left press anywhere on the desktop hides the bubble, unless it falls on the bubble or on
// its link (the panel's own WM_LBUTTONDOWN toggles it there). The press's own point decides,
// not where the pointer has gone since.
LRESULT CQuenmarRepairDlg::OnHookLButtonDown(WPARAM, LPARAM pressPoint)
{
    if (!m_agreement) {
        return 1;
    }
    const POINT cursor{GET_X_LPARAM(pressPoint), GET_Y_LPARAM(pressPoint)};
    RECT panel;
    GetWindowRect(&panel);
    if (!::PtInRect(&panel, cursor)) {
        HideAgreement();
        return 1;
    }
    RECT bubble;
    m_agreement->GetWindowRect(&bubble);
    if (!m_agreementLink.ContainsScreenPoint(cursor.x, cursor.y) && !::PtInRect(&bubble, cursor) &&
        m_agreement->IsWindowVisible()) {
        HideAgreement();
    }
    return 1;
}

void CQuenmarRepairDlg::OnMinimizeClicked()
{
    ::PostMessageW(GetOwner(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CQuenmarRepairDlg::OnRepairClicked()
{
    // The modal pop-ups keep a second press away; the task refuses one as well.
    if (m_repairTask.IsRunning()) {
        return;
    }
    if (!m_repairTask.StartRepair()) {
        ShowPrompt(kTextRepairFailed, nullptr);
        return;
    }
    // The worker's messages are handled only once the busy pop-up's modal loop runs, after
    // the pop-up has been stored here. The previous repair's pop-up has ended long since.
    m_progress = std::make_unique<CExecutePromptDlg>();
    m_progress->SetText(kTextRepairing);
    m_progress->SetScale(GetScale());
    m_progress->DoModal();
}

LRESULT CQuenmarRepairDlg::OnCloseProgress(WPARAM, LPARAM)
{
    if (!m_closing && m_progress && m_progress->m_hWnd) {
        m_progress->SendMessage(WM_CLOSE_PROGRESS);
    }
    return 1;
}

LRESULT CQuenmarRepairDlg::OnRepairResult(WPARAM result, LPARAM)
{
    if (m_closing) {
        return 1;
    }
    if (result == kRepairSucceeded) {
        ShowPrompt(kTextRepairSucceeded, nullptr);
    } else if (result == kRepairFailed) {
        ShowPrompt(kTextRepairFailed, nullptr);
    }
    return 1;
}

void CQuenmarRepairDlg::OnMoreToolsClicked()
{
    m_feedback.OpenUrl(kKnowledgeBaseArticle);
}

void CQuenmarRepairDlg::ReleaseContent()
{
    // The workers go first, while everything they may still send to is whole: the repair's
    // within its bound (the task and the log must outlive it), the check box's for good.
    m_closing = true;
    m_repairTask.Detach();
    std::vector<HANDLE> agreeWorkers;
    for (const UniqueHandle& worker : m_agreeWorkers) {
        agreeWorkers.push_back(worker.Get());
    }
    WaitForThreads(agreeWorkers.data(), static_cast<DWORD>(agreeWorkers.size()), kWorkerJoinBoundMs);
    m_agreeWorkers.clear();
    m_progress.reset();
    m_agreement.reset();
    // The hook reports to this window and the library's pages are opened from it: both go
    // with it.
    m_hook.RemoveHook();
    m_feedback.FreeFeedbackLibrary();
}
