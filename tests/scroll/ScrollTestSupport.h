#pragma once
// What the scroll tests share besides the support library: the program's scroll-bar skin,
// bitmaps and window pixels, and scroll states.
#include <windows.h>

#include "framework/Handles.h"

constexpr int kSkinBitmapId = 178;

// BITMAP 178 from the test program's resources.
BitmapHolder LoadSkin();
// A bitmap of the given size (for skins of other widths).
BitmapHolder MakeBitmap(int width, int height);

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);
COLORREF WindowPixel(HWND hwnd, int x, int y);

SCROLLINFO MakeScrollInfo(int nMin, int nMax, UINT nPage, int nPos);
// The scroll state a bar keeps (through SBM_GETSCROLLINFO).
SCROLLINFO BarInfo(HWND bar);
