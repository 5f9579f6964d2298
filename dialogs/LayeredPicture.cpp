#include "dialogs/LayeredPicture.h"

#include <algorithm>

#include "controls/PngDecoder.h"

namespace {

// Rows of `width` pixels that hold `bytes` bytes.
int RowsFor(size_t bytes, int width)
{
    const size_t row = static_cast<size_t>(width) * 4;
    return static_cast<int>((bytes + row - 1) / row);
}

}  // namespace

// The surface has room below the picture to decode an image of its own size in place; the
// system is only ever given the picture's rows.
LayeredPicture::LayeredPicture(int width, int height) : m_width(width), m_height(height), m_dc(nullptr)
{
    if (width <= 0 || height <= 0) {
        return;
    }
    const int rows = std::max(height, RowsFor(PremultipliedPngBlockBytes(width, height), width));
    void* bits = nullptr;
    m_bitmap.Reset(CreateTopDownDib32(width, rows, &bits));
    if (m_bitmap && m_dc.Get()) {
        m_bits = static_cast<DWORD*>(bits);
        m_capacity = static_cast<size_t>(rows) * static_cast<size_t>(width) * 4;
        m_previous = ::SelectObject(m_dc.Get(), m_bitmap.Get());
    }
}

LayeredPicture::~LayeredPicture()
{
    // The bitmap is deleted after this, and a bitmap still selected cannot be.
    if (m_previous) {
        ::SelectObject(m_dc.Get(), m_previous);
    }
}

void LayeredPicture::Draw(const PngImage& image)
{
    if (!m_bits || CopyPixels(image)) {
        return;
    }
    // GDI+ writes straight into the surface's bits, premultiplied as the system wants them;
    // the surface starts fully transparent.
    Gdiplus::Bitmap surface(m_width, m_height, m_width * 4, PixelFormat32bppPARGB,
                            reinterpret_cast<BYTE*>(m_bits));
    Gdiplus::Graphics graphics(&surface);
    DrawPngPart(graphics, &image, RECT{0, 0, m_width, m_height}, 0, 0, image.Width(), image.Height());
}

bool LayeredPicture::DrawResource(UINT id)
{
    DWORD size = 0;
    const void* data = PngResourceData(id, &size);
    if (!data) {
        return false;
    }
    if (DecodeOwnSize(data, size)) {
        return true;
    }
    PngImagePtr image;
    if (!LoadPngResource(&image, id)) {
        return false;
    }
    Draw(*image);
    return true;
}

// PNG data of the picture's own size is decoded straight into the surface, premultiplied:
// no decoded copy is made, held and read again (a megabyte for a main frame). Anything else
// is left to Draw, on the surface still fully transparent.
bool LayeredPicture::DecodeOwnSize(const void* data, DWORD size)
{
    return m_bits && DecodePngPremultiplied(static_cast<const BYTE*>(data), size, m_width, m_height,
                                            reinterpret_cast<BYTE*>(m_bits), m_capacity);
}

// An image of the picture's own size needs no scaling: its pixels go straight into the
// surface, premultiplied.
bool LayeredPicture::CopyPixels(const PngImage& image)
{
    if (!image.Get() || image.Width() != m_width || image.Height() != m_height ||
        image.Get()->GetType() != Gdiplus::ImageTypeBitmap) {
        return false;
    }
    auto* bitmap = static_cast<Gdiplus::Bitmap*>(image.Get());
    return PremultiplyPixels(*bitmap) || ConvertPixels(*bitmap);
}

// A picture decoded with straight alpha is read in place and premultiplied here: Wine's GDI+
// converts formats pixel by pixel through a generic path, ten times slower for a main frame.
bool LayeredPicture::PremultiplyPixels(Gdiplus::Bitmap& bitmap)
{
    if (bitmap.GetPixelFormat() != PixelFormat32bppARGB) {
        return false;
    }
    Gdiplus::Rect whole(0, 0, m_width, m_height);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return false;
    }
    for (int y = 0; y < m_height; ++y) {
        const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(data.Scan0) +
                                                         static_cast<ptrdiff_t>(y) * data.Stride);
        DWORD* target = m_bits + static_cast<size_t>(y) * static_cast<size_t>(m_width);
        for (int x = 0; x < m_width; ++x) {
            target[x] = PremultipliedArgb(row[x]);
        }
    }
    return bitmap.UnlockBits(&data) == Gdiplus::Ok;
}

bool LayeredPicture::ConvertPixels(Gdiplus::Bitmap& bitmap)
{
    Gdiplus::Rect whole(0, 0, m_width, m_height);
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(m_width);
    data.Height = static_cast<UINT>(m_height);
    data.Stride = m_width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = m_bits;
    if (bitmap.LockBits(&whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                        PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
        return false;
    }
    return bitmap.UnlockBits(&data) == Gdiplus::Ok;
}

// Scaled by hand: GDI+ blends the pixels along a part's edges with what lies outside the part
// (and Wine's GDI+ does so even for nearest-neighbour drawing). Each picture pixel takes the
// image pixel under its centre, so a part's first and last rows and columns stay its own as
// long as it is not shrunk below half its size.
void LayeredPicture::DrawPart(const PngImage& image, const RECT& dest, const RECT& source)
{
    const int destWidth = dest.right - dest.left;
    const int destHeight = dest.bottom - dest.top;
    const int sourceWidth = source.right - source.left;
    const int sourceHeight = source.bottom - source.top;
    if (!m_bits || !image.Get() || destWidth <= 0 || destHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    // The part at its own size, premultiplied as the picture is.
    Gdiplus::Bitmap part(sourceWidth, sourceHeight, PixelFormat32bppPARGB);
    {
        Gdiplus::Graphics graphics(&part);
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        graphics.DrawImage(image.Get(), 0, 0, source.left, source.top, sourceWidth, sourceHeight, Gdiplus::UnitPixel);
    }
    Gdiplus::Rect whole(0, 0, sourceWidth, sourceHeight);
    Gdiplus::BitmapData data{};
    if (part.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
        return;
    }
    const int top = std::max(0, static_cast<int>(dest.top));
    const int bottom = std::min(m_height, static_cast<int>(dest.bottom));
    const int left = std::max(0, static_cast<int>(dest.left));
    const int right = std::min(m_width, static_cast<int>(dest.right));
    for (int y = top; y < bottom; ++y) {
        const int sourceY = (2 * (y - dest.top) + 1) * sourceHeight / (2 * destHeight);
        const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(data.Scan0) +
                                                         static_cast<ptrdiff_t>(sourceY) * data.Stride);
        DWORD* target = m_bits + static_cast<size_t>(y) * static_cast<size_t>(m_width);
        for (int x = left; x < right; ++x) {
            target[x] = row[(2 * (x - dest.left) + 1) * sourceWidth / (2 * destWidth)];
        }
    }
    part.UnlockBits(&data);
}

DWORD LayeredPicture::Pixel(int x, int y) const
{
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    ::GdiFlush();
    return m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

BOOL LayeredPicture::Apply(HWND window, POINT position) const
{
    if (!m_bits) {
        return FALSE;
    }
    ::GdiFlush();
    SIZE size{m_width, m_height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    WindowDC screen(window);
    return ::UpdateLayeredWindow(window, screen.Get(), &position, &size, m_dc.Get(), &source, 0, &blend, ULW_ALPHA);
}
