#pragma once
// Pixels for checks: what the screen shows in a rectangle or in a window's client area, the
// tool's pictures decoded from the "PNG" resources of a module, colour comparisons, and PNG
// files for people to look at.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/Gdiplus.h"

namespace testsupport {

// Pixels as 0xAARRGGBB (not premultiplied), row by row from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    bool Empty() const { return pixels.empty(); }
    DWORD At(int x, int y) const
    {
        return pixels.at(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
    }
};

// What the screen shows in `area` (screen coordinates); opaque.
Image CaptureScreen(const RECT& area);
// Waits until the screen shows `area` drawn (not all one colour) and unchanged between two
// looks `intervalMs` apart: a window that exists may not be painted yet, and the screen may
// still show what lay there before. False when it does not settle within `timeoutMs`.
bool WaitForSteadyArea(const RECT& area, DWORD timeoutMs, DWORD intervalMs = 100);
// What the screen shows at a point.
COLORREF ScreenPixel(int x, int y);

// What a window shows in its client area, read back after it has painted.
class ClientPixels {
public:
    explicit ClientPixels(HWND window);
    // CLR_INVALID outside the client area.
    COLORREF At(int x, int y) const;
    int Width() const { return m_image.width; }
    int Height() const { return m_image.height; }
    // The number of pixels for which `test` holds.
    int Count(const std::function<bool(COLORREF)>& test) const;

private:
    Image m_image;
};

// The bytes of a resource of a module, of this program's own, or of a module file (the
// tool's executable); empty when it is missing.
std::string ResourceBytes(HMODULE module, UINT id, const wchar_t* type);
std::string ResourceBytes(UINT id, const wchar_t* type);
std::string ResourceBytes(const std::wstring& modulePath, UINT id, const wchar_t* type);
// A "PNG" resource decoded, of this program's own or of a module file; empty when it is
// missing or does not decode.
Image ResourcePng(UINT id);
Image ResourcePng(const std::wstring& modulePath, UINT id);
bool SavePng(const Image& image, const std::wstring& path);

// The largest difference of the three colour channels of two pixels given alike (both
// 0x..RRGGBB, or both COLORREF).
int ColourDistance(DWORD a, DWORD b);
// An 0xAARRGGBB pixel laid over an opaque `ground`, and without its alpha, as COLORREF.
COLORREF Over(DWORD argb, COLORREF ground);
COLORREF Opaque(DWORD argb);
// The share of the image's opaque pixels that the screen shows in `area` (of the image's
// size), each channel within a small tolerance; 0 when either cannot be read.
double ShareShowing(const Image& image, const RECT& area);
// The smallest rectangle (image coordinates) around every pixel in which two images of one size
// differ; empty when they are alike, the whole of the larger when their sizes differ.
RECT DifferingArea(const Image& a, const Image& b);

}  // namespace testsupport
