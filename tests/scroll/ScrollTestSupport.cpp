#include "tests/scroll/ScrollTestSupport.h"

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
