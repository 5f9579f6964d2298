#pragma once
// A desktop-wide low-level mouse hook that tells one window about every left button press,
// also outside the program's windows. The hook procedure runs on the installing thread
// while that thread retrieves messages.
#include <windows.h>

// Hook to its window (posted): a left button went down anywhere on the desktop. wParam
// WM_LBUTTONDOWN, lParam the press's screen point (GET_X_LPARAM, GET_Y_LPARAM): by the time
// the message is handled the pointer may be elsewhere.
constexpr UINT WM_HOOK_LBUTTONDOWN = 0x7E8;

class CMouseHook {
public:
    // Clears the process-wide hook handle and hook window.
    CMouseHook();
    ~CMouseHook() { RemoveHook(); }
    CMouseHook(const CMouseHook&) = delete;
    CMouseHook& operator=(const CMouseHook&) = delete;

    // The window that receives WM_HOOK_LBUTTONDOWN; false (nothing stored) for null.
    bool SetHookWindow(HWND window);
    // Installs the hook for all threads of the desktop; true when it is in place.
    bool InstallHook();
    void RemoveHook();
};
