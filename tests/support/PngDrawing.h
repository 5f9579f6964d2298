#pragma once
// The tool's image drawing seen without a window: a square of an image drawn over white.
#include <windows.h>

#include <vector>

#include "framework/Handles.h"
#include "tests/support/Gdiplus.h"

class PngImage;

namespace testsupport {

// A white memory canvas of the given size: the off-screen buffer the controls paint into.
class WhiteCanvas {
public:
    WhiteCanvas(int width, int height);
    HDC Dc() const { return m_buffer.Get(); }

private:
    OffscreenBuffer m_buffer;
};

// Draws the 16 x 16 source square at (srcX, srcY) of `image` over a 16 x 16 white canvas;
// the 256 pixels, row by row.
std::vector<COLORREF> DrawnSquare(const PngImage* image, int srcX, int srcY);

}  // namespace testsupport
