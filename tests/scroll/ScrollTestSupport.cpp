#include "tests/scroll/ScrollTestSupport.h"

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) {
            return true;
        }
        if (::GetTickCount() - start >= ms) {
            return done();
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void MoveCursorTo(POINT screen)
{
    ::SetCursorPos(screen.x, screen.y);
    PumpUntil(
        [&] {
            POINT now;
            ::GetCursorPos(&now);
            return now.x == screen.x && now.y == screen.y;
        },
        1000);
    PumpFor(100);
}

void ParkCursor()
{
    MoveCursorTo(POINT{2, 2});
}

BitmapHolder LoadSkin()
{
    return BitmapHolder(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kSkinBitmapId)));
}

BitmapHolder MakeBitmap(int width, int height)
{
    WindowDC screen(nullptr);
    return BitmapHolder(::CreateCompatibleBitmap(screen.Get(), width, height));
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    MemoryDC dc(nullptr);
    SelectedObject select(dc.Get(), bitmap);
    return ::GetPixel(dc.Get(), x, y);
}

COLORREF WindowPixel(HWND hwnd, int x, int y)
{
    ::GdiFlush();
    WindowDC dc(hwnd);
    return ::GetPixel(dc.Get(), x, y);
}

SCROLLINFO MakeScrollInfo(int nMin, int nMax, UINT nPage, int nPos)
{
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS};
    info.nMin = nMin;
    info.nMax = nMax;
    info.nPage = nPage;
    info.nPos = nPos;
    info.nTrackPos = -1;  // as the bar keeps it outside a drag
    return info;
}

SCROLLINFO BarInfo(HWND bar)
{
    SCROLLINFO info{sizeof(info), SIF_ALL};
    ::SendMessageW(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}
