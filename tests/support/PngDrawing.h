#pragma once
// The tool's image drawing seen without a window: a square of an image drawn over white.
#include <windows.h>

#include <vector>

#include "framework/Handles.h"
#include "tests/support/Gdiplus.h"

class PngImage;

namespace testsupport {

// A white memory canvas of the given size, screen-compatible as the controls' buffers are.
class WhiteCanvas {
public:
    WhiteCanvas(int width, int height);
    HDC Dc() const { return m_dc.Get(); }

private:
    MemoryDC m_dc;
    BitmapHolder m_bitmap;
    SelectedObject m_selected;
};

// Draws the 16 x 16 source square at (srcX, srcY) of `image` over a 16 x 16 white ground (a
// screen-compatible bitmap, as the controls use); the 256 pixels, row by row.
std::vector<COLORREF> DrawnSquare(const PngImage* image, int srcX, int srcY);

}  // namespace testsupport
