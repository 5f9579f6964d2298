#include "controls/CSkinStatic.h"

void CSkinStatic::CreateFontFromParent()
{
    m_font = CopyWindowFont(GetParent());
}

void CSkinStatic::SetBackgroundRect(int left, int top, int right, int bottom)
{
    m_backgroundRect = RECT{left, top, right, bottom};
}

void CSkinStatic::Paint(const PaintSpec& spec)
{
    PaintDC paint(m_hWnd);
    RECT client;
    GetClientRect(&client);
    OffscreenBuffer buffer(paint.Get(), client.right, client.bottom);
    if (spec.ground) {
        ::FillRect(buffer.Get(), &client, spec.ground);
    }
    ::SetBkMode(buffer.Get(), TRANSPARENT);
    if (m_background) {
        Gdiplus::Graphics graphics(buffer.Get());
        if (spec.smoothSlice) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        }
        DrawPngPart(graphics, m_background, client, m_backgroundRect.left, m_backgroundRect.top,
                    m_backgroundRect.right - m_backgroundRect.left, m_backgroundRect.bottom - m_backgroundRect.top);
    }
    if (spec.flags != kNoText) {
        SelectedObject font(buffer.Get(), m_font.Get());
        ::SetTextColor(buffer.Get(), spec.colour);
        RECT textRect = client;
        ::DrawTextW(buffer.Get(), spec.text.c_str(), static_cast<int>(spec.text.size()), &textRect, spec.flags);
    }
    buffer.Present(paint.Get());
}
