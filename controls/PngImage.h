#pragma once
// Skin images: PNG files kept as resources of type "PNG", decoded here when they are of the
// skin's kinds (controls/PngDecoder.h), by GDI+ otherwise. Also the small
// text functions that the skinned controls share (font copy, text width).
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <utility>

#include "framework/Handles.h"

// A decoded skin image together with the memory it reads: the block GDI+ decoded it from, or
// the pixels it was decoded into here. GDI+ may read that memory for as long as the image
// lives, so the image is deleted first and the memory freed right after it: the image never
// outlives its data, and nothing is left behind.
class PngImage {
public:
    PngImage(HGLOBAL block, Gdiplus::Image* image) : m_block(block), m_image(image) {}
    PngImage(std::unique_ptr<BYTE[]> pixels, Gdiplus::Image* image)
        : m_block(nullptr), m_pixels(std::move(pixels)), m_image(image)
    {
    }
    ~PngImage();
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    Gdiplus::Image* Get() const { return m_image; }
    // Natural size in pixels; 0 for data that did not decode.
    int Width() const;
    int Height() const;

private:
    HGLOBAL m_block;
    std::unique_ptr<BYTE[]> m_pixels;
    Gdiplus::Image* m_image;
};

// The owning form, held by the window or control that loaded the image. Controls that only
// borrow their dialog's picture hold a `const PngImage*` instead.
using PngImagePtr = std::unique_ptr<PngImage>;

// Decodes the "PNG" resource `id` of the program into *out. FALSE when the resource is
// missing or cannot be loaded (then *out is untouched). Data that does not decode still
// gives TRUE: the image then draws nothing.
BOOL LoadPngResource(PngImagePtr* out, UINT id);

// Copies the top left `width` x `height` pixels of an opaque image unscaled to `dc` at
// (x, y), in one transfer. False when the image is not a decoded bitmap of at least that size
// without an alpha channel.
bool CopyPngPart(HDC dc, const PngImage& image, int x, int y, int width, int height);
// Whether LoadPngResource would find and load resource `id`, without decoding it.
bool PngResourceExists(UINT id);
// The bytes of the program's "PNG" resource `id`, as long as the program runs; null when it
// is missing or empty.
const void* PngResourceData(UINT id, DWORD* size);

// Draws the source rectangle (x, y, width, height in image pixels) of `image` stretched into
// `dest`. A null image draws nothing.
void DrawPngPart(Gdiplus::Graphics& graphics, const PngImage* image, const RECT& dest, int srcX, int srcY,
                 int srcWidth, int srcHeight);

// A copy of `source`'s font (WM_GETFONT), or of the stock DEFAULT_GUI_FONT, failing that
// ANSI_VAR_FONT, when the window has none.
FontHolder CopyWindowFont(HWND source);

// Width in pixels of `text` in `fontSource`'s font measured on `dc`; -1 when either is null.
int GetTextWidth(HWND fontSource, HDC dc, const std::wstring& text);
