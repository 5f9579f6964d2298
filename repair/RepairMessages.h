#pragma once
// What the repair worker tells the window that started it (both sent, in this order).
#include <windows.h>

// The repair's commands have finished: close the busy pop-up (the panel passes it on to the
// pop-up, which ends on it). wParam 0, lParam 0.
constexpr UINT WM_CLOSE_PROGRESS = 0x5F5;

// The outcome, after WM_CLOSE_PROGRESS: wParam kRepairSucceeded or kRepairFailed, lParam 0.
// Returns 1 once the result prompt is dismissed.
constexpr UINT WM_REPAIR_RESULT = 0x5F6;
constexpr WPARAM kRepairSucceeded = 1;
constexpr WPARAM kRepairFailed = 2;
