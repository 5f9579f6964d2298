#include "controls/CSkinStatic.h"

#include "controls/FocusCue.h"

BEGIN_MESSAGE_MAP(CSkinStatic, CStatic)
    ON_MESSAGE(WM_SETFOCUS, OnFocusCueChange)
    ON_MESSAGE(WM_KILLFOCUS, OnFocusCueChange)
    ON_MESSAGE(WM_UPDATEUISTATE, OnFocusCueChange)
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CSkinStatic::CreateFontFromParent()
{
    m_font = CopyWindowFont(GetParent());
}

void CSkinStatic::SetBackgroundRect(int left, int top, int right, int bottom)
{
    m_backgroundRect = RECT{left, top, right, bottom};
}

void CSkinStatic::Paint(const PaintLook& look)
{
    ClientPainting painting(m_hWnd, look.ground);
    const RECT& client = painting.Client();
    if (m_background) {
        Gdiplus::Graphics graphics(painting.Dc());
        if (look.smoothSlice) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        }
        DrawPngPart(graphics, m_background, client, m_backgroundRect.left, m_backgroundRect.top,
                    m_backgroundRect.right - m_backgroundRect.left, m_backgroundRect.bottom - m_backgroundRect.top);
    }
    if (look.flags != kNoText) {
        SelectedObject font(painting.Dc(), m_font.Get());
        ::SetTextColor(painting.Dc(), look.colour);
        RECT textRect = client;
        ::DrawTextW(painting.Dc(), look.text.c_str(), static_cast<int>(look.text.size()), &textRect, look.flags);
    }
    if (FocusCueDue(m_hWnd)) {
        DrawFocusCue(painting.Dc(), client);
    }
    painting.Present();
}

LRESULT CSkinStatic::OnFocusCueChange(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    Invalidate(TRUE);
    return result;
}
