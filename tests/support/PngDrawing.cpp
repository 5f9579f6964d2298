#include "tests/support/PngDrawing.h"

#include "controls/PngImage.h"
#include "framework/Handles.h"

namespace testsupport {

std::vector<COLORREF> DrawnSquare(const PngImage* image, int srcX, int srcY)
{
    MemoryDC dc(nullptr);
    HDC screen = ::GetDC(nullptr);
    BitmapHolder bitmap(::CreateCompatibleBitmap(screen, 16, 16));
    ::ReleaseDC(nullptr, screen);
    SelectedObject selected(dc.Get(), bitmap.Get());
    const RECT all{0, 0, 16, 16};
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    {
        Gdiplus::Graphics graphics(dc.Get());
        DrawPngPart(graphics, image, all, srcX, srcY, 16, 16);
    }
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            pixels.push_back(::GetPixel(dc.Get(), x, y));
        }
    }
    return pixels;
}

}  // namespace testsupport
