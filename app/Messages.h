#pragma once
// The window messages of the program's own, with what their parameters carry.
#include <windows.h>

// Repair worker to the main panel, and the panel on to the progress pop-up: the repair's
// commands have finished; close the busy pop-up. wParam 0, lParam 0.
constexpr UINT WM_CLOSE_PROGRESS = 0x5F5;

// Repair worker to the main panel, sent after WM_CLOSE_PROGRESS: the outcome.
// wParam kRepairSucceeded or kRepairFailed, lParam 0. Returns 1 once the prompt is dismissed.
constexpr UINT WM_REPAIR_RESULT = 0x5F6;
constexpr WPARAM kRepairSucceeded = 1;
constexpr WPARAM kRepairFailed = 2;

// Prompt content to its frame: the user's answer. wParam kPromptOk or kPromptCancel, lParam 0.
constexpr UINT WM_PROMPT_RESULT = 0x615;
constexpr WPARAM kPromptOk = 1;
constexpr WPARAM kPromptCancel = 2;

// Low-level mouse hook to the main panel (posted): a left button went down anywhere on the
// desktop. wParam WM_LBUTTONDOWN, lParam the press's screen point (GET_X_LPARAM, GET_Y_LPARAM):
// by the time the message is handled the pointer may be elsewhere.
constexpr UINT WM_HOOK_LBUTTONDOWN = 0x7E8;

// Skinned scroll frame's subclass procedure to the frame (posted): lay the clip window and
// the control out again. wParam the control's WS_VSCROLL bit, lParam its WS_EX_LEFTSCROLLBAR bit.
constexpr UINT WM_SKINSCROLL_LAYOUT = 0x464;
