#include "framework/CDialog.h"

#include <vector>

#include "framework/CWinApp.h"

namespace {

struct TemplateInfo {
    const DLGTEMPLATE* dialog = nullptr;
    POINT position{};
};

TemplateInfo LoadDialogTemplate(UINT id)
{
    TemplateInfo info;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    if (!words) {
        return info;
    }
    info.dialog = reinterpret_cast<const DLGTEMPLATE*>(words);
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    // DLGTEMPLATEEX: version, signature, help id, ex style, style, count, x, y.
    // DLGTEMPLATE: style, ex style, count, x, y.
    const WORD* xy = extended ? words + 2 + 2 + 2 + 2 + 1 : words + 2 + 2 + 1;
    info.position = {static_cast<short>(xy[0]), static_cast<short>(xy[1])};
    return info;
}

// While a modal dialog runs, every other visible top-level window of its thread is disabled, as the
// system's task-modal message box does: an owned pop-up (a layered frame's content, a panel
// over its frame) is a top-level window of its own, and disabling the owner alone would leave
// it taking clicks behind the dialog. Exactly the windows disabled here are enabled again.
class ThreadWindowsDisabled {
public:
    // The owner is disabled even while hidden: that is what tells the dialog it is modal.
    explicit ThreadWindowsDisabled(HWND owner)
    {
        if (owner && ::IsWindowEnabled(owner)) {
            ::EnableWindow(owner, FALSE);
            m_disabled.push_back(owner);
        }
        ::EnumThreadWindows(::GetCurrentThreadId(), &ThreadWindowsDisabled::DisableOne,
                            reinterpret_cast<LPARAM>(this));
    }
    ~ThreadWindowsDisabled()
    {
        for (auto window = m_disabled.rbegin(); window != m_disabled.rend(); ++window) {
            if (::IsWindow(*window)) {
                ::EnableWindow(*window, TRUE);
            }
        }
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK DisableOne(HWND window, LPARAM param)
    {
        auto* self = reinterpret_cast<ThreadWindowsDisabled*>(param);
        // Hidden windows (the input method's among them) are left alone.
        if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            ::EnableWindow(window, FALSE);
            self->m_disabled.push_back(window);
        }
        return TRUE;
    }

    std::vector<HWND> m_disabled;
};

// Whether the latest press on this thread was a key rather than a mouse button: a dialog made
// after keyboard use shows its cues at once, as the platform's UIS_INITIALIZE decides.
thread_local bool t_keyboardLast = false;

void NoteInput(const MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        t_keyboardLast = true;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        t_keyboardLast = false;
        break;
    default:
        break;
    }
}

// The cues a key brings out (the flags to clear), as the platform's dialogs do: Tab and the
// arrows show the focus, Alt shows the focus and the accelerators.
WORD CuesShownBy(const MSG& msg)
{
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU) {
        return UISF_HIDEFOCUS | UISF_HIDEACCEL;
    }
    const bool moves = msg.wParam == VK_TAB || (msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN);
    return msg.message == WM_KEYDOWN && moves ? UISF_HIDEFOCUS : 0;
}

// The UI state after a WM_CHANGEUISTATE or WM_UPDATEUISTATE request.
WORD ChangedUiState(WORD state, WPARAM request)
{
    const WORD flags = HIWORD(request) & (UISF_HIDEFOCUS | UISF_HIDEACCEL | UISF_ACTIVE);
    switch (LOWORD(request)) {
    case UIS_SET:
        return state | flags;
    case UIS_CLEAR:
        return state & ~flags;
    case UIS_INITIALIZE:
        return t_keyboardLast ? state & ~flags : state | flags;
    default:
        return state;
    }
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!control.m_hWnd) {
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
    }
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_CHANGEUISTATE, OnChangeUiState)
    ON_MESSAGE(WM_UPDATEUISTATE, OnUpdateUiState)
    ON_MESSAGE(WM_QUERYUISTATE, OnQueryUiState)
END_MESSAGE_MAP()

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
    }
}

HWND CDialog::CreateFromTemplate(HWND owner)
{
    const TemplateInfo info = LoadDialogTemplate(m_templateId);
    if (!info.dialog) {
        return nullptr;
    }
    m_uiState = t_keyboardLast ? 0 : UISF_HIDEFOCUS | UISF_HIDEACCEL;
    HookWindowCreate(this, nullptr);
    HWND hwnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), info.dialog, owner, &CDialog::DialogProc,
                                             reinterpret_cast<LPARAM>(this));
    UnhookWindowCreate();
    return hwnd;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_pParentWnd = parent;
    return CreateFromTemplate(parent ? parent->m_hWnd : nullptr) != nullptr;
}

HWND CDialog::OwnerForModal() const
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = (main && main != this) ? main->m_hWnd : nullptr;
    }
    // A modal dialog is owned by a top-level window, never by a child.
    while (owner && (::GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) {
        owner = ::GetParent(owner);
    }
    return owner;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = OwnerForModal();
    m_modalRunning = true;
    m_continueModal = true;
    m_modalResult = -1;
    {
        const ThreadWindowsDisabled disabled(owner);
        if (CreateFromTemplate(owner) && m_continueModal) {
            RunModalLoop();
        }
        m_modalRunning = false;
        if (m_hWnd) {
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
        // The windows behind it are enabled again before it goes, so that activation can
        // return to them rather than to another program.
    }
    if (owner && ::GetActiveWindow() == m_hWnd) {
        ::SetActiveWindow(owner);
    }
    DestroyWindow();
    return m_modalResult;
}

void CDialog::RunModalLoop()
{
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    ::UpdateWindow(m_hWnd);
    while (m_continueModal) {
        if (!PumpMessage()) {
            m_modalResult = -1;
            break;
        }
    }
}

bool CDialog::PumpMessage()
{
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        // Leave the quit message for whoever runs the outer loop.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (!WalkPreTranslateTree(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

bool CDialog::WalkPreTranslateTree(MSG* msg)
{
    // Innermost window first, then its parents (an owned pop-up's parent is its owner),
    // up to and including this dialog.
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg)) {
            return true;
        }
        if (hwnd == m_hWnd) {
            break;
        }
    }
    return false;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    const bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                       (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd) {
        return FALSE;
    }
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) {
        return FALSE;
    }
    NoteInput(*msg);
    if (const WORD cues = CuesShownBy(*msg)) {
        SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues));
    }
    return ::IsDialogMessageW(m_hWnd, msg);
}

// A dialog inside another passes the request up; the top one applies it when it changes
// anything, and tells every control.
LRESULT CDialog::OnChangeUiState(WPARAM request, LPARAM)
{
    if ((GetStyle() & WS_CHILD) && GetParent()) {
        return ::SendMessageW(GetParent(), WM_CHANGEUISTATE, request, 0);
    }
    if (ChangedUiState(m_uiState, request) != m_uiState) {
        SendMessage(WM_UPDATEUISTATE, request);
    }
    return 0;
}

LRESULT CDialog::OnUpdateUiState(WPARAM request, LPARAM)
{
    m_uiState = ChangedUiState(m_uiState, request);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_UPDATEUISTATE, request, 0);
    }
    return 0;
}

void CDialog::EndDialog(int result)
{
    if (m_modalRunning) {
        m_modalResult = result;
        m_continueModal = false;
        // Wake the loop in case nothing else is queued.
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = dynamic_cast<CDialog*>(FromHandlePermanent(hwnd));
        return dialog ? dialog->OnInitDialog() : TRUE;
    }
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG) {
        return CWnd::WindowProc(message, wParam, lParam);
    }
    RECT before;
    GetWindowRect(&before);
    const bool visibleBefore = (GetStyle() & WS_VISIBLE) != 0;
    LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (m_hWnd) {
        CenterAfterInitIfDue(before, visibleBefore);
    }
    return result;
}

// A modal dialog whose template asks for no position of its own is centred once its
// initialisation is done, unless that initialisation moved or showed it.
void CDialog::CenterAfterInitIfDue(const RECT& before, bool visibleBefore)
{
    if (!m_modalRunning || visibleBefore || (GetStyle() & (WS_VISIBLE | WS_CHILD))) {
        return;
    }
    const TemplateInfo info = LoadDialogTemplate(m_templateId);
    if (info.position.x != 0 || info.position.y != 0) {
        return;
    }
    RECT after;
    GetWindowRect(&after);
    if (after.left != before.left || after.top != before.top) {
        return;
    }
    HWND owner = GetOwner();
    if (owner && ::IsWindowEnabled(owner)) {
        return;
    }
    CenterWindow();
}
