#pragma once
// Small non-copyable holders for kernel handles and GDI objects. Owning holders free what
// they hold; scope holders undo what they did (a selection, a device context borrowed).
#include <windows.h>

#include <utility>

// A kernel handle closed with CloseHandle (null and INVALID_HANDLE_VALUE mean none).
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, nullptr));
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE* Put()
    {
        Reset();
        return &m_handle;
    }
    HANDLE Release() { return std::exchange(m_handle, nullptr); }
    void Reset(HANDLE handle = nullptr)
    {
        if (Valid()) {
            ::CloseHandle(m_handle);
        }
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};

// A GDI object (bitmap, brush, font, pen) deleted with DeleteObject.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T object) : m_object(object) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.m_object, nullptr));
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    T Release() { return std::exchange(m_object, nullptr); }
    void Reset(T object = nullptr)
    {
        if (m_object) {
            ::DeleteObject(m_object);
        }
        m_object = object;
    }

private:
    T m_object = nullptr;
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

// The off-screen paint: a memory context with a compatible bitmap of a given size selected
// into it for the holder's life; Present copies it to a target with one BitBlt.
class OffscreenBuffer {
public:
    OffscreenBuffer(HDC target, int width, int height)
        : m_width(width),
          m_height(height),
          m_dc(target),
          m_bitmap(::CreateCompatibleBitmap(target, width, height)),
          m_select(m_dc.Get(), m_bitmap.Get())
    {
    }
    // The buttons' start: the client area filled with their ground, and text drawn with no
    // background of its own.
    OffscreenBuffer(HDC target, const RECT& client, HBRUSH ground)
        : OffscreenBuffer(target, client.right, client.bottom)
    {
        ::FillRect(Get(), &client, ground);
        ::SetBkMode(Get(), TRANSPARENT);
    }
    HDC Get() const { return m_dc.Get(); }
    void Present(HDC target) const { ::BitBlt(target, 0, 0, m_width, m_height, m_dc.Get(), 0, 0, SRCCOPY); }

private:
    int m_width;
    int m_height;
    MemoryDC m_dc;
    BitmapHolder m_bitmap;
    SelectedObject m_select;
};
