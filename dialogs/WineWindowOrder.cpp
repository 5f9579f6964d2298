#include "dialogs/WineWindowOrder.h"

namespace {

// Posted to the frame: check the order once the change that caused it is complete.
const UINT kCheckOrder = WM_APP + 0x51;
// Posted to the frame when it has come back from being minimised.
const UINT kContentAfterRestore = WM_APP + 0x52;
// The checks that follow a change, while Wine may still reorder the pair on its own: one
// every 200 ms for a second. Seen under Wine 8: about 50 ms after the owner's activation.
const UINT_PTR kStackCheckTimer = 0x5AFE;
const UINT kStackCheckPeriodMs = 200;
const int kChecksAfterChange = 5;

// Window messages after which the frame may lie above its content.
bool MayReorder(UINT message, LPARAM lParam)
{
    switch (message) {
        case WM_ACTIVATE:
        case WM_ENABLE:
            return true;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            return pos && (!(pos->flags & SWP_NOZORDER) || (pos->flags & SWP_SHOWWINDOW));
        }
        default:
            return false;
    }
}

}  // namespace

bool WineWindowOrder::Needed()
{
    static const bool underWine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return underWine;
}

void WineWindowOrder::Watch(HWND frame, HWND content)
{
    if (!Needed()) {
        return;
    }
    m_frame = frame;
    m_content = content;
    m_wasMinimized = ::IsIconic(frame) != FALSE;
    Settle();
}

void WineWindowOrder::Stop()
{
    if (m_frame) {
        ::KillTimer(m_frame, kStackCheckTimer);
    }
    m_frame = nullptr;
    m_content = nullptr;
    m_checksLeft = 0;
}

bool WineWindowOrder::BeforeFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_frame) {
        return false;
    }
    switch (message) {
        case kCheckOrder:
            KeepContentAbove();
            *result = 0;
            return true;
        case kContentAfterRestore:
            ShowContentAgain();
            *result = 0;
            return true;
        case WM_TIMER:
            if (wParam != kStackCheckTimer) {
                return false;
            }
            OnCheckTimer();
            *result = 0;
            return true;
        case WM_NCHITTEST: {
            // The frame lies under its content, so it only sees the pointer over its shadow. Where
            // it sees the pointer over the content it has been raised above it: the input goes
            // through to the content, beneath it in the same thread, and the order is put right.
            const POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT content;
            if (!::IsWindowVisible(m_content) || !::GetWindowRect(m_content, &content) ||
                !::PtInRect(&content, screen)) {
                return false;
            }
            KeepContentAbove();
            *result = HTTRANSPARENT;
            return true;
        }
        default:
            return false;
    }
}

void WineWindowOrder::AfterFrameMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (!m_frame) {
        return;
    }
    if (message == WM_WINDOWPOSCHANGED) {
        const bool minimized = ::IsIconic(m_frame) != FALSE;
        if (m_wasMinimized && !minimized) {
            ::PostMessageW(m_frame, kContentAfterRestore, 0, 0);
        }
        m_wasMinimized = minimized;
    }
    if (MayReorder(message, lParam)) {
        Settle();
    }
}

void WineWindowOrder::AfterContentMessage(UINT message, LPARAM lParam)
{
    if (MayReorder(message, lParam)) {
        Settle();
    }
}

void WineWindowOrder::Settle()
{
    if (!m_frame) {
        return;
    }
    // Posted: the reordering happens after the message that announced it.
    ::PostMessageW(m_frame, kCheckOrder, 0, 0);
    m_checksLeft = kChecksAfterChange;
    ::SetTimer(m_frame, kStackCheckTimer, kStackCheckPeriodMs, nullptr);
}

void WineWindowOrder::OnCheckTimer()
{
    KeepContentAbove();
    if (--m_checksLeft <= 0) {
        m_checksLeft = 0;
        ::KillTimer(m_frame, kStackCheckTimer);
    }
}

// The frame goes right below its content; the content and every other window keep their
// places.
void WineWindowOrder::KeepContentAbove()
{
    if (!::IsWindow(m_content)) {
        return;
    }
    for (HWND above = ::GetWindow(m_frame, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV)) {
        if (above == m_content) {
            return;
        }
    }
    ++m_corrections;
    ::SetWindowPos(m_frame, m_content, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// Shown again after the frame, as at start-up, the content is drawn above it.
void WineWindowOrder::ShowContentAgain()
{
    if (!::IsWindow(m_content) || !::IsWindowVisible(m_content)) {
        return;
    }
    ::ShowWindow(m_content, SW_HIDE);
    ::ShowWindow(m_content, SW_SHOWNA);
}
