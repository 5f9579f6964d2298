#include "tests/support/PngDrawing.h"

#include "controls/PngImage.h"
#include "framework/Handles.h"

namespace testsupport {

namespace {

HBITMAP ScreenBitmap(int width, int height)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

WhiteCanvas::WhiteCanvas(int width, int height)
    : m_dc(nullptr), m_bitmap(ScreenBitmap(width, height)), m_selected(m_dc.Get(), m_bitmap.Get())
{
    const RECT all{0, 0, width, height};
    ::FillRect(m_dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

std::vector<COLORREF> DrawnSquare(const PngImage* image, int srcX, int srcY)
{
    WhiteCanvas canvas(16, 16);
    HDC dc = canvas.Dc();
    const RECT all{0, 0, 16, 16};
    {
        Gdiplus::Graphics graphics(dc);
        DrawPngPart(graphics, image, all, srcX, srcY, 16, 16);
    }
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            pixels.push_back(::GetPixel(dc, x, y));
        }
    }
    return pixels;
}

}  // namespace testsupport
