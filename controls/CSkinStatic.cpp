#include "controls/CSkinStatic.h"

#include "controls/FocusCue.h"

BEGIN_MESSAGE_MAP(CSkinStatic, CStatic)
    ON_MESSAGE(WM_SETFOCUS, OnFocusCueChange)
    ON_MESSAGE(WM_KILLFOCUS, OnFocusCueChange)
    ON_MESSAGE(WM_UPDATEUISTATE, OnFocusCueChange)
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
    PaintDC paint(m_hWnd);
    RECT client;
    GetClientRect(&client);
    OffscreenBuffer buffer(paint.Get(), client.right, client.bottom);
    if (look.ground) {
        ::FillRect(buffer.Get(), &client, look.ground);
    }
    ::SetBkMode(buffer.Get(), TRANSPARENT);
    if (m_background) {
        Gdiplus::Graphics graphics(buffer.Get());
        if (look.smoothSlice) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        }
        DrawPngPart(graphics, m_background, client, m_backgroundRect.left, m_backgroundRect.top,
                    m_backgroundRect.right - m_backgroundRect.left, m_backgroundRect.bottom - m_backgroundRect.top);
    }
    if (look.flags != kNoText) {
        SelectedObject font(buffer.Get(), m_font.Get());
        ::SetTextColor(buffer.Get(), look.colour);
        RECT textRect = client;
        ::DrawTextW(buffer.Get(), look.text.c_str(), static_cast<int>(look.text.size()), &textRect, look.flags);
    }
    if (FocusCueDue(m_hWnd)) {
        DrawFocusCue(buffer.Get(), client);
    }
    buffer.Present(paint.Get());
}

LRESULT CSkinStatic::OnFocusCueChange(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    Invalidate(TRUE);
    return result;
}
