#pragma once
// Small non-copyable holders for kernel handles and GDI objects. Owning holders free what
// they hold; scope holders undo what they did (a selection, a device context borrowed).
#include <windows.h>

#include <memory>
#include <utility>

// The ownership every owning holder shares: move-only, and what it holds is freed with
// Traits::Free when it goes or is replaced, if Traits::Holds says it is something.
template <typename T, typename Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : m_value(value) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(UniqueResource&& other) noexcept : m_value(std::exchange(other.m_value, nullptr)) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.m_value, nullptr));
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    T Get() const { return m_value; }
    T Release() { return std::exchange(m_value, nullptr); }
    void Reset(T value = nullptr)
    {
        if (Traits::Holds(m_value)) {
            Traits::Free(m_value);
        }
        m_value = value;
    }

protected:
    T m_value = nullptr;
};

struct KernelHandleTraits {
    static bool Holds(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { ::CloseHandle(handle); }
};

// A kernel handle closed with CloseHandle (null and INVALID_HANDLE_VALUE mean none).
class UniqueHandle : public UniqueResource<HANDLE, KernelHandleTraits> {
public:
    using UniqueResource::UniqueResource;

    bool Valid() const { return KernelHandleTraits::Holds(m_value); }
    HANDLE* Put()
    {
        Reset();
        return &m_value;
    }
};

template <typename T>
struct GdiObjectTraits {
    static bool Holds(T object) { return object != nullptr; }
    static void Free(T object) { ::DeleteObject(object); }
};

// A GDI object (bitmap, brush, font, pen) deleted with DeleteObject.
template <typename T>
class GdiObject : public UniqueResource<T, GdiObjectTraits<T>> {
public:
    using UniqueResource<T, GdiObjectTraits<T>>::UniqueResource;

    explicit operator bool() const { return this->Get() != nullptr; }
};

using BitmapHolder = GdiObject<HBITMAP>;
using BrushHolder = GdiObject<HBRUSH>;
using FontHolder = GdiObject<HFONT>;

// Selects an object into a device context for the holder's scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (m_previous) {
            ::SelectObject(m_dc, m_previous);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A window's device context (GetDC), released at scope end.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~WindowDC()
    {
        if (m_dc) {
            ::ReleaseDC(m_hwnd, m_dc);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// BeginPaint / EndPaint for one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : m_hwnd(hwnd) { m_dc = ::BeginPaint(hwnd, &m_paint); }
    ~PaintDC() { ::EndPaint(m_hwnd, &m_paint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// A memory device context deleted with DeleteDC.
class MemoryDC {
public:
    MemoryDC() = default;
    explicit MemoryDC(HDC compatibleWith) : m_dc(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() { Reset(); }
    MemoryDC(MemoryDC&& other) noexcept : m_dc(std::exchange(other.m_dc, nullptr)) {}
    MemoryDC& operator=(MemoryDC&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_dc = std::exchange(other.m_dc, nullptr);
        }
        return *this;
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return m_dc; }
    void Reset()
    {
        if (m_dc) {
            ::DeleteDC(m_dc);
        }
        m_dc = nullptr;
    }

private:
    HDC m_dc = nullptr;
};

// A 32-bit DIB section of the given size, rows from the top; *bits receives its pixels.
inline HBITMAP CreateTopDownDib32(int width, int height, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The off-screen paint: a memory context with a 32-bit bitmap of a given size selected into it
// for the holder's life; Present copies it to a target with one BitBlt. A bitmap of the
// display's own kind would serve as well, but under Wine making and selecting one asks the
// window server about the displays twice, for every paint of every control.
class OffscreenBuffer {
public:
    OffscreenBuffer(HDC target, int width, int height)
        : m_width(width),
          m_height(height),
          m_dc(target),
          m_bitmap(MakeBitmap(width, height)),
          m_select(m_dc.Get(), m_bitmap.Get())
    {
    }
    HDC Get() const { return m_dc.Get(); }
    void Present(HDC target) const { ::BitBlt(target, 0, 0, m_width, m_height, m_dc.Get(), 0, 0, SRCCOPY); }

private:
    static HBITMAP MakeBitmap(int width, int height)
    {
        void* bits = nullptr;
        return CreateTopDownDib32(width, height, &bits);
    }

    int m_width;
    int m_height;
    MemoryDC m_dc;
    BitmapHolder m_bitmap;
    SelectedObject m_select;
};

// The one start of an off-screen paint: the window's paint context (or, for an erase, the
// context the erase was handed), its client rectangle, and a buffer of that size filled with
// `ground` (null: none) and set for text without a background of its own. Present copies the
// buffer to the window.
class ClientPainting {
public:
    // From WM_PAINT: begins and, when it goes, ends the window's paint.
    ClientPainting(HWND window, HBRUSH ground) : ClientPainting(window, nullptr, ground) {}
    // From WM_ERASEBKGND, or WM_PAINT when `eraseDc` is null.
    ClientPainting(HWND window, HDC eraseDc, HBRUSH ground)
        : m_paint(eraseDc ? nullptr : std::make_unique<PaintDC>(window)),
          m_target(eraseDc ? eraseDc : m_paint->Get()),
          m_client(ClientOf(window)),
          m_buffer(m_target, m_client.right, m_client.bottom)
    {
        if (ground) {
            ::FillRect(m_buffer.Get(), &m_client, ground);
        }
        ::SetBkMode(m_buffer.Get(), TRANSPARENT);
    }
    HDC Dc() const { return m_buffer.Get(); }
    const RECT& Client() const { return m_client; }
    void Present() const { m_buffer.Present(m_target); }

private:
    static RECT ClientOf(HWND window)
    {
        RECT client{};
        ::GetClientRect(window, &client);
        return client;
    }

    std::unique_ptr<PaintDC> m_paint;
    HDC m_target;
    RECT m_client;
    OffscreenBuffer m_buffer;
};
