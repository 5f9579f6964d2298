#include "controls/PngImage.h"

#include <cstring>

#include "controls/PngDecoder.h"
#include "framework/CWinApp.h"

PngImage::~PngImage()
{
    // Order matters: the image may still hold a stream on the block, or read the pixels
    // (which, as a member, go after this body).
    delete m_image;
    if (m_block) {
        ::GlobalFree(m_block);
    }
}

int PngImage::Width() const
{
    return m_image ? static_cast<int>(m_image->GetWidth()) : 0;
}

int PngImage::Height() const
{
    return m_image ? static_cast<int>(m_image->GetHeight()) : 0;
}

const void* PngResourceData(UINT id, DWORD* size)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (!found) {
        return nullptr;
    }
    *size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    return *size > 0 ? data : nullptr;
}

bool PngResourceExists(UINT id)
{
    DWORD size = 0;
    return PngResourceData(id, &size) != nullptr;
}

namespace {

// A bitmap over pixels decoded here; null when GDI+ cannot make one.
Gdiplus::Image* BitmapOver(const DecodedPng& decoded)
{
    auto* bitmap = new Gdiplus::Bitmap(decoded.width, decoded.height, decoded.stride,
                                       decoded.alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB,
                                       decoded.pixels.get());
    if (bitmap && bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}

// Through a stream on a copy of the data: GDI+ and the system's imaging component decode it,
// or make an image that draws nothing of data that does not decode.
BOOL LoadThroughGdiplus(PngImagePtr* out, const void* data, DWORD size)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, size);
    void* copy = block ? ::GlobalLock(block) : nullptr;
    if (!copy) {
        if (block) {
            ::GlobalFree(block);
        }
        return FALSE;
    }
    std::memcpy(copy, data, size);
    ::GlobalUnlock(block);

    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, FALSE, &stream))) {
        ::GlobalFree(block);
        return FALSE;
    }
    // The image takes its own reference on the stream; ours goes right away.
    auto* image = new Gdiplus::Image(stream, FALSE);
    stream->Release();
    if (!image) {
        ::GlobalFree(block);
        return FALSE;
    }
    *out = std::make_unique<PngImage>(block, image);
    return TRUE;
}

}  // namespace

BOOL LoadPngResource(PngImagePtr* out, UINT id)
{
    DWORD size = 0;
    const void* data = PngResourceData(id, &size);
    if (!data) {
        return FALSE;
    }
    DecodedPng decoded;
    if (DecodePng(static_cast<const BYTE*>(data), size, &decoded)) {
        if (Gdiplus::Image* image = BitmapOver(decoded)) {
            *out = std::make_unique<PngImage>(std::move(decoded.pixels), image);
            return TRUE;
        }
    }
    return LoadThroughGdiplus(out, data, size);
}

bool CopyPngPart(HDC dc, const PngImage& image, int x, int y, int width, int height)
{
    Gdiplus::Image* decoded = image.Get();
    if (!decoded || decoded->GetType() != Gdiplus::ImageTypeBitmap || width <= 0 || height <= 0 ||
        image.Width() < width || image.Height() < height) {
        return false;
    }
    auto* bitmap = static_cast<Gdiplus::Bitmap*>(decoded);
    // Read in the format it was decoded to, so that no converted copy is made; one with alpha
    // would need blending over what lies beneath.
    const Gdiplus::PixelFormat format = bitmap->GetPixelFormat();
    if (format != PixelFormat24bppRGB && format != PixelFormat32bppRGB) {
        return false;
    }
    Gdiplus::Rect part(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (bitmap->LockBits(&part, Gdiplus::ImageLockModeRead, format, &data) != Gdiplus::Ok) {
        return false;
    }
    // The part's rows lie a whole image row apart, as in a DIB of the image's width; only the
    // part's own columns are copied.
    const WORD bits = format == PixelFormat24bppRGB ? 24 : 32;
    int copied = 0;
    if (data.Stride == (image.Width() * bits + 31) / 32 * 4) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = image.Width();
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = bits;
        info.bmiHeader.biCompression = BI_RGB;
        copied = ::StretchDIBits(dc, x, y, width, height, 0, 0, width, height, data.Scan0, &info, DIB_RGB_COLORS,
                                 SRCCOPY);
    }
    bitmap->UnlockBits(&data);
    return copied > 0;
}

void DrawPngPart(Gdiplus::Graphics& graphics, const PngImage* image, const RECT& dest, int srcX, int srcY,
                 int srcWidth, int srcHeight)
{
    if (!image || !image->Get()) {
        return;
    }
    const Gdiplus::Rect target(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top);
    graphics.DrawImage(image->Get(), target, srcX, srcY, srcWidth, srcHeight, Gdiplus::UnitPixel);
}

FontHolder CopyWindowFont(HWND source)
{
    HGDIOBJ font = source ? reinterpret_cast<HGDIOBJ>(::SendMessageW(source, WM_GETFONT, 0, 0)) : nullptr;
    if (!font) {
        font = ::GetStockObject(DEFAULT_GUI_FONT);
    }
    if (!font) {
        font = ::GetStockObject(ANSI_VAR_FONT);
    }
    LOGFONTW logFont{};
    if (!font || ::GetObjectW(font, sizeof(logFont), &logFont) == 0) {
        return FontHolder();
    }
    return FontHolder(::CreateFontIndirectW(&logFont));
}

int GetTextWidth(HWND fontSource, HDC dc, const std::wstring& text)
{
    if (!fontSource || !dc) {
        return -1;
    }
    FontHolder font = CopyWindowFont(fontSource);
    SelectedObject selected(dc, font.Get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}
