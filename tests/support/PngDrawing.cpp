#include "tests/support/PngDrawing.h"

#include "controls/PngImage.h"
#include "framework/Handles.h"

namespace testsupport {

WhiteCanvas::WhiteCanvas(int width, int height) : m_buffer(nullptr, width, height)
{
    const RECT all{0, 0, width, height};
    ::FillRect(m_buffer.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
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
