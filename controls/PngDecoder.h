#pragma once
// PNG data of the kinds the skin is drawn in (8 bits a channel, RGB or RGBA, not interlaced)
// decoded here, into the layouts GDI+ decodes them to. GDI+ decodes through the system's
// imaging component, which costs the tool a megabyte of libraries and a registry search for
// every picture; data of any other kind is left to GDI+ (controls/PngImage.h).
#include <windows.h>

#include <cstddef>
#include <memory>

struct DecodedPng {
    int width = 0;
    int height = 0;
    int stride = 0;      // bytes from one row to the next, a multiple of 4
    bool alpha = false;  // 32 bits a pixel, B G R A, alpha not premultiplied; else 24 bits, B G R
    std::unique_ptr<BYTE[]> pixels;
};

// Decodes `data` into *out. False, with *out untouched, for data of another kind and for
// damaged data: every chunk's and the compressed stream's check sums are verified, and the
// stream must give exactly the rows the header announces.
bool DecodePng(const BYTE* data, size_t size, DecodedPng* out);

// A straight-alpha 0xAARRGGBB pixel with its colour multiplied by its alpha, rounded to the
// nearest, as layered windows and GDI+'s premultiplied formats keep it.
inline DWORD PremultipliedArgb(DWORD argb)
{
    const DWORD alpha = argb >> 24;
    if (alpha == 255) {
        return argb;
    }
    auto channel = [&](int shift) { return ((((argb >> shift) & 0xFF) * alpha + 127) / 255) << shift; };
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

// The bytes a block must have for DecodePngPremultiplied of a `width` x `height` picture:
// somewhat more than its pixels, since the compressed rows are unpacked into it first.
size_t PremultipliedPngBlockBytes(int width, int height);

// Decodes RGBA data of exactly `width` x `height` pixels straight into `block` (at least
// PremultipliedPngBlockBytes, zeroed): rows of width x 4 bytes, B G R A premultiplied. False
// for data of another size or kind, which leaves the block untouched, and for damaged data,
// which leaves it zeroed again. The bytes past the pixels are zero afterwards.
bool DecodePngPremultiplied(const BYTE* data, size_t size, int width, int height, BYTE* block, size_t blockBytes);
