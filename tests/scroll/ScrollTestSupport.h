#pragma once
// Helpers shared by the scroll tests: message pumping with a bound, the program's skin, pixels.
#include <windows.h>

#include <functional>

#include "framework/Handles.h"

constexpr int kSkinBitmapId = 178;

// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);
// Dispatches messages until `done` holds or `ms` milliseconds have passed; returns `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

// Moves the real pointer to the screen point and waits until the window system has it there
// (and has delivered the mouse move that follows).
void MoveCursorTo(POINT screen);
// Puts the pointer in the screen's top left corner, off every test window, so that no hover
// or mouse-leave of a real pointer meets the messages a test sends.
void ParkCursor();

// BITMAP 178 from the test program's resources.
BitmapHolder LoadSkin();
// A bitmap of the given size (for skins of other widths).
BitmapHolder MakeBitmap(int width, int height);

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);
COLORREF WindowPixel(HWND hwnd, int x, int y);

SCROLLINFO MakeScrollInfo(int nMin, int nMax, UINT nPage, int nPos);
// The scroll state a bar keeps (through SBM_GETSCROLLINFO).
SCROLLINFO BarInfo(HWND bar);
