#include "controls/FocusCue.h"

// The dialog keeps the UI state for its controls (see CDialog).
bool FocusCueDue(HWND control)
{
    HWND dialog = ::GetParent(control);
    return control && dialog && ::GetFocus() == control &&
           (::SendMessageW(dialog, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

void DrawFocusCue(HDC dc, const RECT& rect)
{
    RECT cue = rect;
    ::InflateRect(&cue, -1, -1);
    ::DrawFocusRect(dc, &cue);
}
