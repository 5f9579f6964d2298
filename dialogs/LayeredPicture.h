#pragma once
// The picture of a layered frame: a 32-bit premultiplied surface of the frame's size with a
// skin image stretched over it, handed to the system with one UpdateLayeredWindow call.
#include "controls/PngImage.h"

class LayeredPicture {
public:
    LayeredPicture(int width, int height);
    ~LayeredPicture();
    LayeredPicture(const LayeredPicture&) = delete;
    LayeredPicture& operator=(const LayeredPicture&) = delete;

    bool Valid() const { return m_bits != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Stretches the whole image over the picture (copies it when it has the picture's size).
    void Draw(const PngImage& image);
    // Stretches the whole "PNG" resource `id` over the picture, as Draw does with the image
    // loaded from it. False when the resource cannot be loaded.
    bool DrawResource(UINT id);
    // Scales the source rectangle (image pixels) of `image` into `dest` (picture pixels),
    // replacing what was there, pixel for pixel (nearest neighbour): parts laid side by side
    // meet without blended seams, and a one-pixel outline stays one sharp pixel.
    void DrawPart(const PngImage& image, const RECT& dest, const RECT& source);
    // A pixel as 0xAARRGGBB with premultiplied colour.
    DWORD Pixel(int x, int y) const;
    // Gives `window` this picture, its size and the top-left corner `position` at once.
    BOOL Apply(HWND window, POINT position) const;

private:
    bool DecodeOwnSize(const void* data, DWORD size);
    bool CopyPixels(const PngImage& image);
    bool PremultiplyPixels(Gdiplus::Bitmap& bitmap);
    bool ConvertPixels(Gdiplus::Bitmap& bitmap);

    int m_width;
    int m_height;
    MemoryDC m_dc;
    BitmapHolder m_bitmap;
    HGDIOBJ m_previous = nullptr;
    DWORD* m_bits = nullptr;
    size_t m_capacity = 0;  // bytes of the surface, which has a few rows past the picture's
};
