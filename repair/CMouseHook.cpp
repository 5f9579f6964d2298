#include "repair/CMouseHook.h"

#include "app/Messages.h"

namespace {

// Process-wide: the hook procedure has no context of its own. Both are written before the
// hook exists and only read while it runs.
HHOOK g_hook = nullptr;
HWND g_hookWindow = nullptr;

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    // Only posted, never sent: the hook must return quickly. The hook's event record is gone
    // when the message arrives, so the press's point travels by value.
    if (code == HC_ACTION && wParam == WM_LBUTTONDOWN && g_hookWindow) {
        const POINT press = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
        ::PostMessageW(g_hookWindow, WM_HOOK_LBUTTONDOWN, wParam, MAKELPARAM(press.x, press.y));
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

CMouseHook::CMouseHook()
{
    g_hook = nullptr;
    g_hookWindow = nullptr;
}

bool CMouseHook::SetHookWindow(HWND window)
{
    if (!window) {
        return false;
    }
    g_hookWindow = window;
    return true;
}

bool CMouseHook::InstallHook()
{
    // A second hook would report every press twice.
    if (g_hook) {
        return true;
    }
    g_hook = ::SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, nullptr, 0);
    return g_hook != nullptr;
}

void CMouseHook::RemoveHook()
{
    if (g_hook) {
        ::UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}
