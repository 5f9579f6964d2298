#pragma once
// The keyboard focus cue of the skinned controls, drawn in their own paint. As the platform's
// rule has it, a control shows it only while it has the focus and its dialog shows focus cues
// (WM_QUERYUISTATE without UISF_HIDEFOCUS), which it does once the keyboard has been used
// there: a mouse user sees the design's picture alone.
#include <windows.h>

bool FocusCueDue(HWND control);
// A dotted outline one pixel inside `rect`.
void DrawFocusCue(HDC dc, const RECT& rect);
