#include "dialogs/LayeredPicture.h"

LayeredPicture::LayeredPicture(int width, int height) : m_width(width), m_height(height), m_dc(nullptr)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap.Reset(::CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (m_bitmap && m_dc.Get() && width > 0 && height > 0) {
        m_bits = static_cast<DWORD*>(bits);
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
    if (!m_bits) {
        return;
    }
    // GDI+ writes straight into the surface's bits, premultiplied as the system wants them;
    // the surface starts fully transparent.
    Gdiplus::Bitmap surface(m_width, m_height, m_width * 4, PixelFormat32bppPARGB,
                            reinterpret_cast<BYTE*>(m_bits));
    Gdiplus::Graphics graphics(&surface);
    DrawPngPart(graphics, &image, RECT{0, 0, m_width, m_height}, 0, 0, image.Width(), image.Height());
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
