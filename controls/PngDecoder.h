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
