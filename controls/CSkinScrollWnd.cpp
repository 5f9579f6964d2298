#include "controls/CSkinScrollWnd.h"

#include "framework/Handles.h"
#include "framework/WindowBinding.h"

namespace {

const wchar_t kFrameClass[] = L"VeskarSkinScrollFrame";
const wchar_t kLimitClass[] = L"VeskarSkinScrollLimit";
const wchar_t kFrameText[] = L"SkinScrollBarFrame";
const wchar_t kLimitText[] = L"LIMIT";
// Posted by the wrapped control's subclass procedure to the frame: lay the clip window and
// the control out again. wParam the control's WS_VSCROLL bit, lParam its WS_EX_LEFTSCROLLBAR bit.
constexpr UINT WM_SKINSCROLL_LAYOUT = 0x464;
// The frame that wraps a control, bound to the control.
static WindowBinding<CSkinScrollWnd*> g_wrappingFrames;
// Bound to a control whose procedure chain we could not leave (see UnwrapSkinScroll): the
// procedure that our pass-through hands every message to.
static WindowBinding<WNDPROC> g_passThroughs;

// The frame's style: a child window; 0x0100 is a class-specific bit that the frame's class ignores.
constexpr DWORD kFrameStyle = WS_CHILD | 0x0100;
// The control is made this much wider than the frame's client area (times the scale).
constexpr float kControlWidening = 4.0f;
// Skin column of the corner square.
constexpr int kCornerColumn = 8;

int g_liveFrames = 0;


// The control's own scroll bar has both arrows disabled (ESB_DISABLE_BOTH): a rich edit with
// ES_DISABLENOSCROLL whose text fits keeps a range larger than its page and only does this.
bool ControlBarDisabled(HWND control, int direction)
{
    SCROLLBARINFO info{sizeof(info)};
    if (!::GetScrollBarInfo(control, direction == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) {
        return false;
    }
    const DWORD upArrow = info.rgstate[1];
    const DWORD downArrow = info.rgstate[5];
    return (upArrow & STATE_SYSTEM_UNAVAILABLE) && (downArrow & STATE_SYSTEM_UNAVAILABLE);
}

bool SameScrollState(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMax == b.nMax && a.nMin == b.nMin && a.nPos == b.nPos && a.nPage == b.nPage;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinScrollWnd, CWnd)
    ON_MESSAGE(WM_SKINSCROLL_LAYOUT, OnSkinScrollLayout)
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinScrollWnd* WrappingFrame(HWND control)
{
    return g_wrappingFrames.Find(control);
}

CSkinScrollWnd::CSkinScrollWnd()
{
    ++g_liveFrames;
}

CSkinScrollWnd::~CSkinScrollWnd()
{
    --g_liveFrames;
}

int CSkinScrollWnd::LiveFrames()
{
    return g_liveFrames;
}

BOOL CSkinScrollWnd::WrapControl(HWND control, HBITMAP skin)
{
    // A control that is already wrapped keeps its one frame.
    if (!control || m_hWnd || WrappingFrame(control)) {
        return FALSE;
    }
    m_hSkin = skin;
    m_nScrollWidth = static_cast<int>(SkinCellSize(skin) * m_fScale);

    HWND parent = ::GetParent(control);
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const FramePlan plan = PlanFrame(control, rect, m_fScale);
    if (!CreateExUnder(plan.frameExStyle, CWnd::RegisterClassOnce(kFrameClass), kFrameText, plan.frameStyle, rect, parent,
                  static_cast<UINT>(::GetDlgCtrlID(control)))) {
        return FALSE;
    }
    ::SetWindowLongW(control, GWL_STYLE, static_cast<LONG>(plan.controlStyle));
    ::SetWindowLongW(control, GWL_EXSTYLE, static_cast<LONG>(plan.controlExStyle));

    CWnd::RegisterClassOnce(kLimitClass);
    m_wndLimit = ::CreateWindowExW(0, kLimitClass, kLimitText, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLimitId)),
                                   ::GetModuleHandleW(nullptr), nullptr);
    CreateBars(skin);
    ::SetParent(control, m_wndLimit);
    Subclass(control);

    // A frame change makes the control lay out its non-client area (and so the bars) even
    // when its size stays the same.
    RECT inner = plan.inner;
    inner.right += static_cast<int>(m_fScale * kControlWidening);
    ::SetWindowPos(control, nullptr, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    StartSync();
    return TRUE;
}

// The frame takes over the control's border; a client edge is dropped. `inner` is the
// control's place inside the frame before widening.
CSkinScrollWnd::FramePlan CSkinScrollWnd::PlanFrame(HWND control, const RECT& rect, float scale)
{
    FramePlan plan;
    plan.controlStyle = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    plan.controlExStyle = static_cast<DWORD>(::GetWindowLongW(control, GWL_EXSTYLE));
    plan.frameStyle = kFrameStyle;
    plan.frameExStyle = 0;
    plan.inner = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    if (plan.controlExStyle & WS_EX_TOOLWINDOW) {
        plan.frameExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    }
    if (plan.controlStyle & WS_VISIBLE) {
        plan.frameStyle |= WS_VISIBLE;
    }
    if (plan.controlStyle & WS_BORDER) {
        plan.frameStyle |= WS_BORDER;
        plan.controlStyle &= ~WS_BORDER;
        const int border = 2 * ::GetSystemMetrics(SM_CXBORDER);
        plan.inner.right -= border;
        plan.inner.bottom -= border;
    }
    if (plan.controlExStyle & WS_EX_CLIENTEDGE) {
        plan.controlExStyle &= ~WS_EX_CLIENTEDGE;
        const int edge = static_cast<int>(2 * ::GetSystemMetrics(SM_CXEDGE) * scale);
        plan.inner.right -= edge;
        plan.inner.bottom -= edge;
    }
    return plan;
}

// Both bars start hidden and empty; the control's first layout places and shows them.
void CSkinScrollWnd::CreateBars(HBITMAP skin)
{
    const RECT none{0, 0, 0, 0};
    for (CSkinScrollBar* bar : {&m_sbHorz, &m_sbVert}) {
        bar->SetScale(m_fScale);
        bar->SetThumbEdge(m_nThumbEdge);
    }
    m_sbHorz.Create(WS_CHILD, none, this, kHorizontalBarId);
    m_sbVert.Create(WS_CHILD | SBS_VERT, none, this, kVerticalBarId);
    m_sbHorz.SetSkinBitmap(skin);
    m_sbVert.SetSkinBitmap(skin);
}

// From now on WrappingFrame finds this frame from the control, and its messages pass through
// SkinScrollSubclassProc before reaching the procedure it had.
void CSkinScrollWnd::Subclass(HWND control)
{
    g_wrappingFrames.Bind(control, this);
    if (WNDPROC next = g_passThroughs.Unbind(control)) {
        // Our procedure is still in the control's chain from an earlier wrap: it serves again.
        m_funOldProc = next;
    } else {
        m_funOldProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinScrollSubclassProc)));
    }
}

HWND CSkinScrollWnd::Control() const
{
    return m_wndLimit ? ::GetWindow(m_wndLimit, GW_CHILD) : nullptr;
}

void CSkinScrollWnd::SyncBar(int direction, bool updateEnabled)
{
    HWND control = Control();
    CSkinScrollBar& bar = Bar(direction);
    SCROLLINFO theirs{sizeof(theirs), SIF_ALL};
    if (!control || !::GetScrollInfo(control, direction, &theirs)) {
        return;
    }
    SCROLLINFO ours{sizeof(ours), SIF_ALL};
    bar.GetScrollInfo(&ours);
    if (!SameScrollState(theirs, ours)) {
        bar.SetScrollInfo(&theirs, TRUE);
    }
    if (updateEnabled) {
        // No mouse input reaches a bar whose control cannot scroll.
        const bool enable = theirs.nMax >= static_cast<int>(theirs.nPage) && !ControlBarDisabled(control, direction);
        if (enable != (bar.IsWindowEnabled() != FALSE)) {
            bar.EnableWindow(enable);
        }
    }
}

// The control has just computed its client area: leave only w pixels for each of its own
// scroll-bar strips and lay the skinned bars over them (the LIMIT window sits at the frame's
// origin, so the control's parent coordinates are the frame's).
void CSkinScrollWnd::LayOutBars(HWND control, NCCALCSIZE_PARAMS* params)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(control, GWL_EXSTYLE));
    const bool left = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const bool vertical = (style & WS_VSCROLL) != 0;
    const bool horizontal = (style & WS_HSCROLL) != 0;
    const int w = m_nScrollWidth;
    const int sb = ::GetSystemMetrics(SM_CXVSCROLL);
    RECT& client = params->rgrc[0];
    if (vertical) {
        if (left) {
            client.left -= sb - w;
        } else {
            client.right += sb - w;
        }
    }
    if (horizontal) {
        client.bottom += sb - w;
    }
    const RECT vertRect = left ? RECT{client.left - w, 0, client.left, client.bottom}
                               : RECT{client.right, 0, client.right + w, client.bottom};
    const RECT horzRect = left ? RECT{client.left, client.bottom, client.right, client.bottom + w}
                               : RECT{0, client.bottom, client.right, client.bottom + w};
    m_nCorner = (vertical && horizontal) ? (left ? 1 : 2) : 0;
    if (vertical) {
        m_sbVert.MoveWindow(vertRect, TRUE);
        m_sbVert.ShowWindow(SW_SHOW);
    } else {
        m_sbVert.ShowWindow(SW_HIDE);
    }
    if (horizontal) {
        m_sbHorz.MoveWindow(horzRect, TRUE);
        m_sbHorz.ShowWindow(SW_SHOW);
    } else {
        m_sbHorz.ShowWindow(SW_HIDE);
    }
    PostMessage(WM_SKINSCROLL_LAYOUT, style & WS_VSCROLL, exStyle & WS_EX_LEFTSCROLLBAR);
}

// Cuts the control's own scroll-bar strips off with the LIMIT window; the control keeps its size.
LRESULT CSkinScrollWnd::OnSkinScrollLayout(WPARAM vscroll, LPARAM leftScrollBar)
{
    const int w = m_nScrollWidth;
    m_bBusy = TRUE;
    RECT clip;
    GetClientRect(&clip);
    RECT pos = clip;
    if (m_sbHorz.GetStyle() & WS_VISIBLE) {
        clip.bottom -= w;
    }
    if (leftScrollBar) {
        if (vscroll) {
            clip.left += w;
            ::OffsetRect(&pos, -w, 0);
        }
    } else if (vscroll) {
        clip.right -= w;
    }
    ::MoveWindow(m_wndLimit, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, TRUE);
    if (HWND control = Control()) {
        ::SetWindowPos(control, nullptr, pos.left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_bBusy = FALSE;
    return 0;
}

void CSkinScrollWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    HWND control = Control();
    if (cx != 0 && cy != 0 && control) {
        ::MoveWindow(control, 0, 0, cx, cy, TRUE);
    }
}

void CSkinScrollWnd::OnVScroll(UINT code, UINT position, HWND bar)
{
    ForwardScroll(WM_VSCROLL, code, position);
}

void CSkinScrollWnd::OnHScroll(UINT code, UINT position, HWND bar)
{
    ForwardScroll(WM_HSCROLL, code, position);
}

// A skinned bar was used: the control scrolls, and the bar takes the control's new state,
// except during a drag, where the bar keeps its own track position until the release.
void CSkinScrollWnd::ForwardScroll(UINT message, UINT code, UINT position)
{
    HWND control = Control();
    if (!control) {
        return;
    }
    m_bBusy = TRUE;
    ::SendMessageW(control, message, MAKEWPARAM(code, position), 0);
    m_bBusy = FALSE;
    if (code != SB_THUMBTRACK) {
        const int direction = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
        SCROLLINFO info{sizeof(info), SIF_ALL};
        ::GetScrollInfo(control, direction, &info);
        Bar(direction).SetScrollInfo(&info, TRUE);
    }
}

void CSkinScrollWnd::StartSync()
{
    if (!m_syncing) {
        m_syncing = SetTimer(kSyncTimer, kSyncMs) != 0;
    }
}

// Catches scrolling that erases nothing (wheel, keyboard, selection). Hidden, the control
// takes no input and nothing can be seen: the timer rests until the control paints again.
void CSkinScrollWnd::OnTimer(UINT_PTR id)
{
    if (!IsWindowVisible()) {
        KillTimer(kSyncTimer);
        m_syncing = false;
        return;
    }
    for (int direction : {SB_VERT, SB_HORZ}) {
        CSkinScrollBar& bar = Bar(direction);
        if ((bar.GetStyle() & WS_VISIBLE) && !bar.IsDragging()) {
            SyncBar(direction, false);
        }
    }
}

void CSkinScrollWnd::OnPaint()
{
    PaintDC paint(m_hWnd);
    const int cell = SkinCellSize(m_hSkin);
    const int w = m_nScrollWidth;
    if (m_nCorner == 0 || cell == 0 || w == 0) {
        return;
    }
    RECT client;
    GetClientRect(&client);
    const int x = m_nCorner == 1 ? client.left : client.right - w;
    const int row = m_nCorner == 1 ? 1 : 0;
    MemoryDC skinDc(paint.Get());
    SelectedObject select(skinDc.Get(), m_hSkin);
    ::StretchBlt(paint.Get(), x, client.bottom - w, w, w, skinDc.Get(), kCornerColumn * cell, row * cell, cell, cell,
                 SRCCOPY);
}

CSkinScrollWnd* WrapWithSkinScroll(HWND control, HBITMAP skin, float scale, int thumbEdge)
{
    auto* frame = new CSkinScrollWnd;
    frame->SetScale(scale);
    frame->SetThumbEdge(thumbEdge);
    if (!frame->WrapControl(control, skin)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

BOOL UnwrapSkinScroll(HWND control)
{
    CSkinScrollWnd* frame = WrappingFrame(control);
    if (!frame) {
        return TRUE;
    }
    HWND frameParent = frame->GetParent();
    RECT rect;
    frame->GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, frameParent, reinterpret_cast<POINT*>(&rect), 2);

    // Leave the control's procedure chain. Only its top can be replaced: when another layer
    // subclassed the control after us, our procedure stays below it and passes everything on.
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control, GWLP_WNDPROC));
    if (current == &SkinScrollSubclassProc) {
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frame->m_funOldProc));
    } else {
        g_passThroughs.Bind(control, frame->m_funOldProc);
    }
    g_wrappingFrames.Unbind(control);

    // The control goes back first, so that destroying the frame does not take it along.
    ::SetParent(control, frameParent);
    ::MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);

    frame->DestroyWindow();
    delete frame;
    return TRUE;
}

LRESULT CALLBACK SkinScrollSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSkinScrollWnd* frame = WrappingFrame(hwnd);
    if (!frame) {
        // Unwrapped while another layer sat above us: only pass messages on.
        const WNDPROC next = g_passThroughs.Find(hwnd);
        if (message == WM_NCDESTROY) {
            g_passThroughs.Unbind(hwnd);
        }
        return next ? ::CallWindowProcW(next, hwnd, message, wParam, lParam)
                    : ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        // The control ends its life back under the dialog, and the frame goes with the unwrap.
        const WNDPROC previous = frame->m_funOldProc;
        UnwrapSkinScroll(hwnd);
        return ::CallWindowProcW(previous, hwnd, message, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(frame->m_funOldProc, hwnd, message, wParam, lParam);
    // The message may have unwrapped the control (and freed the frame) meanwhile.
    frame = WrappingFrame(hwnd);
    if (!frame || frame->m_bBusy) {
        return result;
    }
    switch (message) {
    case WM_PAINT:
        frame->StartSync();
        break;
    case WM_ERASEBKGND: {
        // The control has just changed something visible.
        const DWORD style = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE));
        if (style & WS_VSCROLL) {
            frame->SyncBar(SB_VERT, true);
        }
        if (style & WS_HSCROLL) {
            frame->SyncBar(SB_HORZ, true);
        }
        break;
    }
    case WM_NCCALCSIZE:
        if (wParam) {
            frame->LayOutBars(hwnd, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        }
        break;
    default:
        break;
    }
    return result;
}
