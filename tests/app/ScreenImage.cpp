#include "tests/app/ScreenImage.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace appdriver {
namespace {

// GDI+ for the rest of the program's life, started on first need.
void EnsureGdiplus()
{
    static ULONG_PTR token = [] {
        ULONG_PTR started = 0;
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&started, &input, nullptr);
        return started;
    }();
    (void)token;
}

bool PngEncoder(CLSID* encoder)
{
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (size == 0) {
        return false;
    }
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            *encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

Image FromBitmap(Gdiplus::Bitmap& bitmap)
{
    Image image;
    Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
    Gdiplus::BitmapData locked{};
    if (all.Width == 0 ||
        bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &locked) != Gdiplus::Ok) {
        return image;
    }
    image.width = all.Width;
    image.height = all.Height;
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride;
        std::memcpy(&image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width)], row,
                    static_cast<size_t>(image.width) * 4);
    }
    bitmap.UnlockBits(&locked);
    return image;
}

}  // namespace

Image CaptureScreen(const RECT& area)
{
    Image image;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return image;
    }
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ previous = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        const DWORD* words = static_cast<const DWORD*>(bits);
        image.width = width;
        image.height = height;
        image.pixels.assign(words, words + static_cast<size_t>(width) * static_cast<size_t>(height));
        for (DWORD& pixel : image.pixels) {
            pixel |= 0xFF000000;
        }
        ::SelectObject(memory, previous);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

Image LoadPngResource(const std::wstring& modulePath, UINT id)
{
    EnsureGdiplus();
    Image image;
    HMODULE module = ::LoadLibraryExW(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        return image;
    }
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data) {
        const DWORD size = ::SizeofResource(module, found);
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(::GlobalLock(block), data, size);
        ::GlobalUnlock(block);
        IStream* stream = nullptr;
        if (::CreateStreamOnHGlobal(block, TRUE, &stream) == S_OK) {
            {
                Gdiplus::Bitmap bitmap(stream, FALSE);
                image = FromBitmap(bitmap);
            }
            stream->Release();
        } else {
            ::GlobalFree(block);
        }
    }
    ::FreeLibrary(module);
    return image;
}

bool SavePng(const Image& image, const std::wstring& path)
{
    EnsureGdiplus();
    CLSID encoder;
    if (image.Empty() || !PngEncoder(&encoder)) {
        return false;
    }
    std::vector<DWORD> pixels = image.pixels;
    Gdiplus::Bitmap bitmap(image.width, image.height, image.width * 4, PixelFormat32bppARGB,
                           reinterpret_cast<BYTE*>(pixels.data()));
    return bitmap.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

int ColourDistance(DWORD a, DWORD b)
{
    int largest = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return largest;
}

double ShareShowing(const Image& image, const RECT& area)
{
    const Image screen = CaptureScreen(area);
    if (image.Empty() || screen.Empty() || screen.width != image.width || screen.height != image.height) {
        return 0.0;
    }
    int opaque = 0;
    int matching = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const DWORD pixel = image.At(x, y);
            if ((pixel >> 24) != 0xFF) {
                continue;
            }
            ++opaque;
            matching += ColourDistance(pixel, screen.At(x, y)) <= 24 ? 1 : 0;
        }
    }
    return opaque == 0 ? 0.0 : static_cast<double>(matching) / opaque;
}

}  // namespace appdriver
