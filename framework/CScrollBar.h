#pragma once
#include "framework/CWnd.h"

// A scroll-bar control created as a child window; subclasses may answer its messages themselves.
class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::CreateEx(0, L"SCROLLBAR", nullptr, style, rect, parent, id);
    }
    BOOL SetScrollInfo(SCROLLINFO* info, BOOL redraw = TRUE)
    {
        return static_cast<BOOL>(SendMessage(SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
    }
    BOOL GetScrollInfo(SCROLLINFO* info) const
    {
        return static_cast<BOOL>(SendMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
    }
};
