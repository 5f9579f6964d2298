#include "tests/skin/SkinTestSupport.h"

#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include "controls/PngImage.h"
#include "framework/CWinApp.h"
#include "framework/Handles.h"

namespace skintest {
namespace {

// GDI+ runs for the whole test program, as it does for the whole application.
class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

const ::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

std::map<UINT_PTR, std::function<void()>>& PendingSteps()
{
    static std::map<UINT_PTR, std::function<void()>> steps;
    return steps;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    auto found = PendingSteps().find(id);
    if (found == PendingSteps().end()) {
        return;
    }
    std::function<void()> step = std::move(found->second);
    PendingSteps().erase(found);
    step();
}

}  // namespace

void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs) {
        PumpFor(10);
    }
    return done();
}

void Later(DWORD delayMs, std::function<void()> step)
{
    const UINT_PTR id = ::SetTimer(nullptr, 0, delayMs ? delayMs : 1, &RunStep);
    PendingSteps()[id] = std::move(step);
}

void PollThen(const std::function<bool()>& check, DWORD timeoutMs, std::function<void()> then)
{
    const DWORD deadline = ::GetTickCount() + timeoutMs;
    auto step = std::make_shared<std::function<void()>>();
    *step = [check, deadline, then, step]() {
        if (check() || static_cast<LONG>(::GetTickCount() - deadline) >= 0) {
            then();
            *step = nullptr;  // breaks the cycle
            return;
        }
        Later(20, *step);
    };
    Later(1, *step);
}

ClientPixels::ClientPixels(HWND window)
{
    ::UpdateWindow(window);
    RECT client;
    ::GetClientRect(window, &client);
    m_width = client.right;
    m_height = client.bottom;
    if (m_width <= 0 || m_height <= 0) {
        return;
    }
    HDC source = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, m_width, m_height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* words = static_cast<const DWORD*>(bits);
    m_pixels.assign(words, words + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, source);
}

COLORREF ClientPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return CLR_INVALID;
    }
    const DWORD p = m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int ClientPixels::Count(const std::function<bool(COLORREF)>& test) const
{
    int count = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            count += test(At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

ReferenceImage::ReferenceImage(UINT id)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) {
        return;
    }
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(block), data, size);
    ::GlobalUnlock(block);
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(block, TRUE, &stream);
    {
        Gdiplus::Bitmap bitmap(stream, FALSE);
        Gdiplus::BitmapData locked{};
        Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
        if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &locked) == Gdiplus::Ok) {
            m_width = all.Width;
            m_height = all.Height;
            m_pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
            for (int y = 0; y < m_height; ++y) {
                const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.Scan0) +
                                                                 static_cast<ptrdiff_t>(y) * locked.Stride);
                std::memcpy(&m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width)], row,
                            static_cast<size_t>(m_width) * 4);
            }
            bitmap.UnlockBits(&locked);
        }
    }
    stream->Release();
}

DWORD ReferenceImage::At(int x, int y) const
{
    return m_pixels.at(static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x));
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

int ColourDistance(COLORREF a, COLORREF b)
{
    const int r = std::abs(GetRValue(a) - GetRValue(b));
    const int g = std::abs(GetGValue(a) - GetGValue(b));
    const int bl = std::abs(GetBValue(a) - GetBValue(b));
    return r > g ? (r > bl ? r : bl) : (g > bl ? g : bl);
}

void MoveMouseTo(POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the primary screen; +1 lands inside the pixel.
    input.mi.dx = screen.x * 65536 / ::GetSystemMetrics(SM_CXSCREEN) + 1;
    input.mi.dy = screen.y * 65536 / ::GetSystemMetrics(SM_CYSCREEN) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

void MouseButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(INPUT));
}

void MovePointerAndSettle(POINT screen)
{
    // The pointer may still receive a late motion from an earlier move: wait until it has
    // settled on the target.
    auto onTarget = [screen] {
        POINT now;
        ::GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
    };
    for (int attempt = 0; attempt < 5; ++attempt) {
        MoveMouseTo(screen);
        PumpUntil(onTarget, 300);
        PumpFor(40);
        if (onTarget()) {
            return;
        }
    }
}

void ClickAt(POINT screen)
{
    MovePointerAndSettle(screen);
    MouseButton(true);
    MouseButton(false);
}

RECT WindowRectOf(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

POINT CentreOf(HWND window)
{
    const RECT r = WindowRectOf(window);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT ChildRect(HWND child)
{
    RECT rect = WindowRectOf(child);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<COLORREF> DrawnSquare(const PngImage* image, int srcX, int srcY)
{
    MemoryDC dc(nullptr);
    HDC screen = ::GetDC(nullptr);
    BitmapHolder bitmap(::CreateCompatibleBitmap(screen, 16, 16));
    ::ReleaseDC(nullptr, screen);
    SelectedObject selected(dc.Get(), bitmap.Get());
    const RECT all{0, 0, 16, 16};
    ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    {
        Gdiplus::Graphics graphics(dc.Get());
        DrawPngPart(graphics, image, all, srcX, srcY, 16, 16);
    }
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            pixels.push_back(::GetPixel(dc.Get(), x, y));
        }
    }
    return pixels;
}

}  // namespace skintest
