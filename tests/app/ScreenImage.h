#pragma once
// Pixels for checks from outside the tool: what the screen shows in a rectangle, the tool's
// own skin images read from its executable, and PNG files for people to look at.
#include <windows.h>

#include <string>
#include <vector>

namespace appdriver {

// Pixels as 0xAARRGGBB, row by row from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    bool Empty() const { return pixels.empty(); }
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// What the screen shows in `area` (screen coordinates); opaque.
Image CaptureScreen(const RECT& area);
// A "PNG" resource of a module file (the tool's executable), decoded; empty when missing.
Image LoadPngResource(const std::wstring& modulePath, UINT id);
bool SavePng(const Image& image, const std::wstring& path);

// Largest difference of the three colour channels of two 0x..RRGGBB values.
int ColourDistance(DWORD a, DWORD b);
// Share of the image's opaque pixels that the screen shows in `area` (same size), each
// channel within a small tolerance; 0 when either cannot be read.
double ShareShowing(const Image& image, const RECT& area);

}  // namespace appdriver
