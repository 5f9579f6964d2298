#pragma once
// What windows of this or another process show and answer: texts, classes, the visible
// top-level windows of a process, and messages whose answers are awaited for a bounded time
// (a window of another process may hang).
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);
std::wstring ClassName(HWND window);

// The visible top-level windows of a process, topmost first.
std::vector<HWND> VisibleWindows(DWORD pid);
// The smallest rectangle around the windows; empty when there are none.
RECT Bounds(const std::vector<HWND>& windows);
// The frame (the owner) of a pop-up's content, or the window itself when it has no owner.
HWND FrameOf(HWND content);

// The answer of a window to a message sent with a bound of two seconds; 0 when it did not
// answer.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Whether the window's thread takes a message within `timeoutMs`.
bool Answers(HWND window, DWORD timeoutMs = 1000);
// BM_GETCHECK of a control.
LRESULT CheckState(HWND dialog, int id);
// EM_GETFIRSTVISIBLELINE of a rich edit; -1 when it did not answer.
int FirstVisibleLine(HWND edit);

}  // namespace testsupport
