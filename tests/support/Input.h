#pragma once
// Real input from this process through SendInput, as a user gives it: the pointer moved to
// points of the screen, the buttons, keys and key chords, the wheel, presses and drags. Under
// Wine an absolute move through SendInput reaches the pointer where SetCursorPos may not.
// Tests whose windows live on the calling thread pass Waiting::Pump, so that those windows
// go on working while the input is awaited.
#include <windows.h>

#include "tests/support/Waits.h"

namespace testsupport {

// Moves the pointer to a screen point and waits (bounded) until Wine and the X server both have
// it there and each driven process has taken the window events queued before the move; the move
// is made again while the pointer does not stay. False when it did not get there.
bool MovePointer(POINT screen, Waiting waiting = Waiting::Sleep);
// The top left corner of the screen, away from every window of the tests and the tool.
bool ParkPointer(Waiting waiting = Waiting::Sleep);
// One absolute move, not awaited: a step of a drag, or a move whose effect the caller checks.
void SendPointerMove(POINT screen);
// Another process whose windows take this program's input (a tool run): its queued window
// events are let through before each press; and no longer once it has ended.
void DriveProcess(DWORD pid);
void StopDrivingProcess(DWORD pid);

// A button pressed or released where the pointer was last moved to.
void LeftButton(bool down);
void RightButton(bool down);
// A left click at a screen point; false when the pointer did not get there.
bool ClickAt(POINT screen, Waiting waiting = Waiting::Sleep);
// A left click in the middle of a control; false when it is missing or the pointer did not
// get there.
bool ClickControl(HWND dialog, int id, Waiting waiting = Waiting::Sleep);

void PressKey(WORD virtualKey);
// A key pressed while `modifier` is held (Alt+Space: VK_MENU, VK_SPACE).
void PressChord(WORD modifier, WORD key);
// Turns the wheel under the pointer by `notches` (negative: towards the user, scrolling down).
void TurnWheel(int notches);

// Presses at `from`, moves to `to` in steps (each one awaited) and, unless `release` is false,
// releases there; false when the pointer did not follow.
bool PressAndDrag(POINT from, POINT to, bool release = true);
// Presses at `from`, moves to `to` in steps and releases, waiting for the system's move loop
// of `uiThread` to begin and to end; false when it did not run. The thread running the move
// loop must not be the caller's.
bool DragWithMouse(POINT from, POINT to, DWORD uiThread);

// A key's press and release posted to a window: messages, not input.
void PostKey(HWND target, WPARAM key);

}  // namespace testsupport
