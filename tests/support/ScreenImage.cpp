#include "tests/support/ScreenImage.h"

#include <gdiplus.h>
#include <objidl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/Handles.h"
#include "tests/support/Waits.h"

namespace testsupport {
namespace {

// The pixels of a device context's rectangle, read into a DIB section; opaque.
Image Capture(HDC source, int left, int top, int width, int height)
{
    Image image;
    if (width <= 0 || height <= 0) {
        return image;
    }
    HDC memory = ::CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib32(width, height, &bits);
    if (bitmap) {
        HGDIOBJ previous = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
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
    return image;
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

// GDI+ decodes from a stream over a block of its own, which the stream frees.
Image DecodePng(const std::string& bytes)
{
    StartGdiplus();
    Image image;
    if (bytes.empty()) {
        return image;
    }
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    IStream* stream = nullptr;
    if (::CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK) {
        ::GlobalFree(block);
        return image;
    }
    {
        Gdiplus::Bitmap bitmap(stream, FALSE);
        image = FromBitmap(bitmap);
    }
    stream->Release();
    return image;
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

}  // namespace

bool StartGdiplus()
{
    static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    return started;
}

Image CaptureScreen(const RECT& area)
{
    HDC screen = ::GetDC(nullptr);
    Image image = Capture(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ::ReleaseDC(nullptr, screen);
    return image;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

ClientPixels::ClientPixels(HWND window)
{
    ::UpdateWindow(window);
    RECT client{};
    ::GetClientRect(window, &client);
    HDC source = ::GetDC(window);
    m_image = Capture(source, 0, 0, client.right, client.bottom);
    ::ReleaseDC(window, source);
}

COLORREF ClientPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height) {
        return CLR_INVALID;
    }
    return Opaque(m_image.At(x, y));
}

int ClientPixels::Count(const std::function<bool(COLORREF)>& test) const
{
    int count = 0;
    for (int y = 0; y < m_image.height; ++y) {
        for (int x = 0; x < m_image.width; ++x) {
            count += test(At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

std::string ResourceBytes(HMODULE module, UINT id, const wchar_t* type)
{
    HRSRC found = module ? ::FindResourceW(module, MAKEINTRESOURCEW(id), type) : nullptr;
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), ::SizeofResource(module, found)) : std::string();
}

std::string ResourceBytes(UINT id, const wchar_t* type)
{
    return ResourceBytes(::GetModuleHandleW(nullptr), id, type);
}

std::string ResourceBytes(const std::wstring& modulePath, UINT id, const wchar_t* type)
{
    HMODULE module =
        ::LoadLibraryExW(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        return {};
    }
    const std::string bytes = ResourceBytes(module, id, type);
    ::FreeLibrary(module);
    return bytes;
}

Image ResourcePng(UINT id)
{
    return DecodePng(ResourceBytes(id, L"PNG"));
}

Image ResourcePng(const std::wstring& modulePath, UINT id)
{
    return DecodePng(ResourceBytes(modulePath, id, L"PNG"));
}

bool SavePng(const Image& image, const std::wstring& path)
{
    StartGdiplus();
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
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        largest = std::max(largest, std::abs(difference));
    }
    return largest;
}

COLORREF Over(DWORD argb, COLORREF ground)
{
    const int a = static_cast<int>(argb >> 24);
    auto mix = [a](int fore, int back) { return (fore * a + back * (255 - a) + 127) / 255; };
    return RGB(mix((argb >> 16) & 0xFF, GetRValue(ground)), mix((argb >> 8) & 0xFF, GetGValue(ground)),
               mix(argb & 0xFF, GetBValue(ground)));
}

COLORREF Opaque(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
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

RECT DifferingArea(const Image& a, const Image& b)
{
    if (a.width != b.width || a.height != b.height) {
        return RECT{0, 0, std::max(a.width, b.width), std::max(a.height, b.height)};
    }
    RECT area{a.width, a.height, 0, 0};
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                area = RECT{std::min<LONG>(area.left, x), std::min<LONG>(area.top, y), std::max<LONG>(area.right, x + 1),
                            std::max<LONG>(area.bottom, y + 1)};
            }
        }
    }
    return area.left < area.right ? area : RECT{};
}

bool WaitForSteadyArea(const RECT& area, DWORD timeoutMs, DWORD intervalMs)
{
    Image before;
    return WaitUntil(
        [&] {
            const Image now = CaptureScreen(area);
            const bool drawn = !now.Empty() && std::any_of(now.pixels.begin(), now.pixels.end(),
                                                           [&](DWORD pixel) { return pixel != now.pixels[0]; });
            const bool same = drawn && now.pixels == before.pixels;
            before = now;
            return same;
        },
        timeoutMs, intervalMs);
}

}  // namespace testsupport
