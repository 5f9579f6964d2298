// The skinned scroll bar on real windows: its own scroll state, presses, drags, auto-repeat,
// double clicks and painting from the skin.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/CSkinScrollBar.h"
#include "tests/scroll/ScrollTestSupport.h"
#include "tests/support/Input.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

struct Notification {
    UINT message;
    int code;
    int position;
    HWND bar;
};

// The bars' parent: records every scroll notification and, when asked, scrolls like a real
// control would (and gives the bar its new position).
class RecordingParent : public CWnd {
public:
    std::vector<Notification> received;
    bool scrolls = false;

    int Count(int code) const
    {
        int count = 0;
        for (const Notification& n : received) {
            count += n.code == code ? 1 : 0;
        }
        return count;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL || message == WM_HSCROLL) {
            const auto bar = reinterpret_cast<HWND>(lParam);
            received.push_back({message, LOWORD(wParam), HIWORD(wParam), bar});
            if (scrolls) {
                Scroll(bar, LOWORD(wParam), HIWORD(wParam));
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    static void Scroll(HWND bar, int code, int position)
    {
        SCROLLINFO info = BarInfo(bar);
        const int last = info.nMax - static_cast<int>(info.nPage) + 1;
        int pos = info.nPos;
        switch (code) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
        case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
        case SB_THUMBPOSITION: pos = position; break;
        default: return;
        }
        pos = pos < info.nMin ? info.nMin : (pos > last ? last : pos);
        SCROLLINFO update{sizeof(update), SIF_POS};
        update.nPos = pos;
        ::SendMessageW(bar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&update));
    }
};

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

class SkinScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParkPointer(Waiting::Pump);
        skin = LoadSkin();
        ASSERT_TRUE(skin);
        const LPCWSTR cls = CWnd::RegisterClassOnce(L"ScrollTestParent");
        ASSERT_TRUE(parent.CreateEx(0, cls, L"parent", WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 400},
                                    static_cast<CWnd*>(nullptr), 0));
        bar = MakeBar(WS_CHILD | WS_VISIBLE | SBS_VERT, RECT{10, 10, 40, 210}, *barObject);
        SCROLLINFO info = MakeScrollInfo(0, 99, 10, 0);
        barObject->SetScrollInfo(&info, FALSE);
        PumpFor(50);
    }

    void TearDown() override
    {
        ::ReleaseCapture();
        parent.DestroyWindow();
    }

    HWND MakeBar(DWORD style, const RECT& rect, CSkinScrollBar& object, HBITMAP withSkin = nullptr)
    {
        object.SetScale(1.0f);
        object.SetThumbEdge(0);
        EXPECT_TRUE(object.Create(style, rect, &parent, 1));
        object.SetSkinBitmap(withSkin ? withSkin : skin.Get());
        return object.m_hWnd;
    }

    // The real pointer over a point of the bar, and the mouse move that follows delivered.
    void PointCursorAt(int x, int y)
    {
        POINT pt{x, y};
        ::ClientToScreen(bar, &pt);
        MovePointer(pt, Waiting::Pump);
        PumpFor(100);
    }

    void SetPos(int pos)
    {
        SCROLLINFO info{sizeof(info), SIF_POS};
        info.nPos = pos;
        barObject->SetScrollInfo(&info, TRUE);
    }

    RECT ClientRect(HWND hwnd) const
    {
        RECT rect;
        ::GetClientRect(hwnd, &rect);
        return rect;
    }

    BitmapHolder skin;
    RecordingParent parent;
    std::unique_ptr<CSkinScrollBar> barObject = std::make_unique<CSkinScrollBar>();
    HWND bar = nullptr;
};

TEST_F(SkinScrollBarTest, SkinMakesTheBarOneCellThick)
{
    EXPECT_EQ(ClientRect(bar).right, 13);
    EXPECT_EQ(ClientRect(bar).bottom, 200);
    EXPECT_EQ(barObject->GetCell(), 13);

    CSkinScrollBar horizontal;
    HWND hbar = MakeBar(WS_CHILD | WS_VISIBLE, RECT{50, 10, 250, 40}, horizontal);
    EXPECT_EQ(ClientRect(hbar).right, 200);
    EXPECT_EQ(ClientRect(hbar).bottom, 13);

    // Without a skin the bar has no thickness and draws nothing.
    CSkinScrollBar bare;
    bare.SetScale(1.0f);
    ASSERT_TRUE(bare.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, RECT{60, 60, 80, 160}, &parent, 2));
    bare.SetSkinBitmap(nullptr);
    EXPECT_EQ(ClientRect(bare.m_hWnd).right, 0);
    EXPECT_EQ(bare.GetCell(), 0);
    PumpFor(30);
}

TEST_F(SkinScrollBarTest, ScrollInfoIsTheBarsOwnCopy)
{
    SCROLLINFO pos{sizeof(pos), SIF_POS | SIF_TRACKPOS};
    pos.nPos = 40;
    pos.nTrackPos = 7;
    EXPECT_EQ(::SendMessageW(bar, SBM_SETSCROLLINFO, FALSE, reinterpret_cast<LPARAM>(&pos)), 1);
    SCROLLINFO got = BarInfo(bar);
    EXPECT_EQ(got.nPos, 40);
    EXPECT_EQ(got.nMin, 0);
    EXPECT_EQ(got.nMax, 99);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(got.nTrackPos, -1);  // never taken over

    // The platform's calls on SB_CTL reach the copy.
    SCROLLINFO range{sizeof(range), SIF_RANGE | SIF_PAGE};
    range.nMin = 2;
    range.nMax = 500;
    range.nPage = 25;
    ::SetScrollInfo(bar, SB_CTL, &range, TRUE);
    SCROLLINFO viaApi{sizeof(viaApi), SIF_ALL};
    ASSERT_TRUE(::GetScrollInfo(bar, SB_CTL, &viaApi));
    EXPECT_EQ(viaApi.nMin, 2);
    EXPECT_EQ(viaApi.nMax, 500);
    EXPECT_EQ(viaApi.nPage, 25u);
    EXPECT_EQ(viaApi.nPos, 40);

    // Only the asked fields are filled.
    SCROLLINFO onlyPage{sizeof(onlyPage), SIF_PAGE};
    onlyPage.nPos = 12345;
    ::SendMessageW(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&onlyPage));
    EXPECT_EQ(onlyPage.nPage, 25u);
    EXPECT_EQ(onlyPage.nPos, 12345);

    EXPECT_EQ(::SendMessageW(bar, SBM_SETSCROLLINFO, TRUE, 0), 0);
    EXPECT_EQ(::SendMessageW(bar, SBM_GETSCROLLINFO, 0, 0), 0);
}

TEST_F(SkinScrollBarTest, PressOnArrowOrTrackNotifiesThePartAndThumbOnlyAtRelease)
{
    const struct {
        int y;
        int code;
    } presses[] = {{5, SB_LINEUP}, {195, SB_LINEDOWN}, {100, SB_PAGEDOWN}};
    for (const auto& press : presses) {
        ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, press.y));
        ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, press.y));
    }
    ASSERT_EQ(parent.received.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(parent.received[i].message, static_cast<UINT>(WM_VSCROLL));
        EXPECT_EQ(parent.received[i].code, presses[i].code);
        EXPECT_EQ(parent.received[i].position, 0);
        EXPECT_EQ(parent.received[i].bar, bar);
    }

    SetPos(50);  // thumb [100, 117): the track before it is paging up
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 50));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 50));
    ASSERT_EQ(parent.received.size(), 4u);
    EXPECT_EQ(parent.received[3].code, SB_PAGEUP);
    // The thumb: nothing at the press; the release ends a drag that went nowhere.
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 105));
    EXPECT_EQ(parent.received.size(), 4u);
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 105));
    ASSERT_EQ(parent.received.size(), 5u);
    EXPECT_EQ(parent.received[4].code, SB_THUMBPOSITION);
    EXPECT_EQ(parent.received[4].position, 50);

    CSkinScrollBar horizontal;
    HWND hbar = MakeBar(WS_CHILD | WS_VISIBLE, RECT{50, 250, 250, 280}, horizontal);
    SCROLLINFO info = MakeScrollInfo(0, 99, 10, 0);
    horizontal.SetScrollInfo(&info, FALSE);
    ::SendMessageW(hbar, WM_LBUTTONDOWN, MK_LBUTTON, At(195, 6));
    ::SendMessageW(hbar, WM_LBUTTONUP, 0, At(195, 6));
    ASSERT_EQ(parent.received.size(), 6u);
    EXPECT_EQ(parent.received[5].message, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(parent.received[5].code, SB_LINEDOWN);
    EXPECT_EQ(parent.received[5].bar, hbar);
}

TEST_F(SkinScrollBarTest, DragOfTenPixelsTracksFiveThenSetsPositionFive)
{
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 20));  // on the thumb [13, 30)
    EXPECT_TRUE(barObject->IsDragging());
    EXPECT_TRUE(parent.received.empty());
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(6, 30));
    EXPECT_EQ(BarInfo(bar).nTrackPos, 5);
    // A move that does not change the track position sends nothing.
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(7, 30));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 30));

    ASSERT_EQ(parent.received.size(), 2u);
    EXPECT_EQ(parent.received[0].code, SB_THUMBTRACK);
    EXPECT_EQ(parent.received[0].position, 5);
    EXPECT_EQ(parent.received[1].code, SB_THUMBPOSITION);
    EXPECT_EQ(parent.received[1].position, 5);
    EXPECT_FALSE(barObject->IsDragging());
    const SCROLLINFO after = BarInfo(bar);
    EXPECT_EQ(after.nTrackPos, -1);
    EXPECT_EQ(after.nPos, 0);  // the parent did not take the position

    // A parent that scrolls gives the bar its position while handling the release.
    parent.scrolls = true;
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 20));
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(6, 100));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 100));
    EXPECT_EQ(parent.received.back().code, SB_THUMBPOSITION);
    EXPECT_EQ(parent.received.back().position, 90 * 80 / 157);
    EXPECT_EQ(BarInfo(bar).nPos, 90 * 80 / 157);
}

TEST_F(SkinScrollBarTest, PointerLeavingTheBarDuringADragKeepsTheThumbWhereItIs)
{
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 20));
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(6, 50));
    const int tracked = BarInfo(bar).nTrackPos;
    ASSERT_GT(tracked, 0);
    // The leave that the platform sends while the capture is held once the pointer is off the bar.
    ::SendMessageW(bar, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(BarInfo(bar).nTrackPos, tracked);
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(60, 60));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(60, 60));
    ASSERT_EQ(parent.received.size(), 3u);
    EXPECT_EQ(parent.received[1].code, SB_THUMBTRACK);
    EXPECT_EQ(parent.received[1].position, 90 * 40 / 157);
    EXPECT_EQ(parent.received[2].code, SB_THUMBPOSITION);
    EXPECT_EQ(parent.received[2].position, 90 * 40 / 157);
}

TEST_F(SkinScrollBarTest, DoubleClickIsOnePress)
{
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 195));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 195));
    EXPECT_EQ(::SendMessageW(bar, WM_LBUTTONDBLCLK, MK_LBUTTON, At(6, 195)), 1);
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 195));
    PumpFor(50);
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].code, SB_LINEDOWN);
}

TEST_F(SkinScrollBarTest, HoldingTheUpArrowRepeatsAfterTheDelayAndStopsAtTheTop)
{
    parent.scrolls = true;
    SetPos(3);
    PointCursorAt(6, 5);
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 5));
    EXPECT_EQ(parent.Count(SB_LINEUP), 1);
    PumpFor(250);
    EXPECT_EQ(parent.Count(SB_LINEUP), 1) << "repeat before the first delay";
    EXPECT_TRUE(PumpUntil([&] { return BarInfo(bar).nPos == 0; }, 2000));
    PumpFor(400);
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 5));
    EXPECT_EQ(parent.Count(SB_LINEUP), 3);
    EXPECT_EQ(parent.received.size(), 3u);
}

TEST_F(SkinScrollBarTest, HoldingTheDownArrowRepeatsUntilReleaseAndPausesOutside)
{
    parent.scrolls = true;
    SetPos(88);
    PointCursorAt(6, 195);
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 195));
    // The position stops at 90 (the last with a page of 10), never at nMax: the bar goes on.
    EXPECT_TRUE(PumpUntil([&] { return parent.Count(SB_LINEDOWN) >= 5; }, 2000));
    EXPECT_EQ(BarInfo(bar).nPos, 90);

    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(6, 100));  // off the arrow
    PumpFor(30);
    const int paused = parent.Count(SB_LINEDOWN);
    PumpFor(300);
    EXPECT_EQ(parent.Count(SB_LINEDOWN), paused);

    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(6, 195));  // back on it
    EXPECT_TRUE(PumpUntil([&] { return parent.Count(SB_LINEDOWN) > paused; }, 1000));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 195));
    const int released = parent.Count(SB_LINEDOWN);
    PumpFor(300);
    EXPECT_EQ(parent.Count(SB_LINEDOWN), released);

    // Another window takes the mouse while the arrow is held (a pop-up): the repeat ends as
    // at a release, and the arrow no longer looks pressed.
    SetPos(50);
    const COLORREF normalLook = WindowPixel(bar, 6, 195);
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 195));
    ASSERT_NE(WindowPixel(bar, 6, 195), normalLook);
    EXPECT_TRUE(PumpUntil([&] { return parent.Count(SB_LINEDOWN) >= released + 3; }, 2000));
    ASSERT_EQ(::GetCapture(), bar);
    ::SetCapture(parent.m_hWnd);
    const int captured = parent.Count(SB_LINEDOWN);
    PumpFor(400);
    EXPECT_EQ(parent.Count(SB_LINEDOWN), captured) << "the bar went on repeating without the mouse";
    ::ReleaseCapture();
    EXPECT_EQ(WindowPixel(bar, 6, 195), normalLook) << "the arrow still looks pressed";
}

TEST_F(SkinScrollBarTest, PagingStopsWhenTheThumbReachesThePointer)
{
    parent.scrolls = true;
    PointCursorAt(6, 100);
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 100));
    // Positions 10, 20, 30, 40, 50: at 50 the thumb [100, 117) lies under the pointer.
    EXPECT_TRUE(PumpUntil([&] { return BarInfo(bar).nPos == 50; }, 2000));
    PumpFor(400);
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 100));
    EXPECT_EQ(parent.Count(SB_PAGEDOWN), 5);
    EXPECT_EQ(BarInfo(bar).nPos, 50);
}

TEST_F(SkinScrollBarTest, PaintsPartsFromTheSkinRowsAndKeepsTheSkinWhenDisabled)
{
    const HBITMAP s = skin.Get();
    // Centre of the up arrow's cells (column 0) in the normal, hover and pressed rows.
    const COLORREF normal = BitmapPixel(s, 6, 6);
    const COLORREF hover = BitmapPixel(s, 6, 13 + 6);
    const COLORREF pressed = BitmapPixel(s, 6, 26 + 6);
    ASSERT_NE(normal, hover);
    ASSERT_NE(normal, pressed);
    const COLORREF thumbMiddle = BitmapPixel(s, 2 * 13 + 6, 6);
    const COLORREF track = BitmapPixel(s, 3 * 13 + 6, 6);

    ::RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(WindowPixel(bar, 6, 6), normal);
    EXPECT_EQ(WindowPixel(bar, 6, 21), thumbMiddle);
    EXPECT_EQ(WindowPixel(bar, 6, 100), track);

    ::SendMessageW(bar, WM_MOUSEMOVE, 0, At(6, 6));
    EXPECT_EQ(WindowPixel(bar, 6, 6), hover);
    ::SendMessageW(bar, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(WindowPixel(bar, 6, 6), normal);

    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(6, 6));
    EXPECT_EQ(WindowPixel(bar, 6, 6), pressed);
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(6, 6));
    EXPECT_EQ(WindowPixel(bar, 6, 6), normal);

    // The platform bar would draw its own look when disabled.
    ::EnableWindow(bar, FALSE);
    PumpFor(50);
    EXPECT_EQ(WindowPixel(bar, 6, 6), normal);
    EXPECT_EQ(WindowPixel(bar, 6, 21), thumbMiddle);
}

}  // namespace
