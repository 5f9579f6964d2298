#include "controls/CSkinScrollBar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Handles.h"

namespace {

bool IsArrow(int part)
{
    return part == SB_LINEUP || part == SB_LINEDOWN;
}

// Skin column of a part: the vertical bar's cells lie in columns 0-3, the horizontal bar's
// in columns 4-7 (column 8 is the frame's corner square).
int CellColumn(int part, bool vertical)
{
    int column = 0;
    switch (part) {
    case SB_LINEDOWN:
        column = 1;
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN:
        column = 3;
        break;
    case SB_THUMBTRACK:
        column = 2;
        break;
    default:
        column = 0;
        break;
    }
    return vertical ? column : column + 4;
}

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}

int Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

// Copies (stretching) the source rectangle of `source` onto `dest` of `target`.
void CopyStretched(HDC target, const RECT& dest, HDC source, const RECT& src)
{
    if (Width(dest) <= 0 || Height(dest) <= 0 || Width(src) <= 0 || Height(src) <= 0) {
        return;
    }
    ::StretchBlt(target, dest.left, dest.top, Width(dest), Height(dest), source, src.left, src.top, Width(src),
                 Height(src), SRCCOPY);
}

}  // namespace

// The skin selected into a memory context for the holder's scope: the source of every copy.
class CSkinScrollBar::SkinSource {
public:
    SkinSource(HDC compatibleWith, HBITMAP skin) : m_dc(compatibleWith), m_select(m_dc.Get(), skin) {}
    HDC Get() const { return m_dc.Get(); }

private:
    MemoryDC m_dc;
    SelectedObject m_select;
};

BEGIN_MESSAGE_MAP(CSkinScrollBar, CScrollBar)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_MOUSELEAVE()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

void CSkinScrollBar::SetSkinBitmap(HBITMAP skin)
{
    m_hSkin = skin;
    m_nCell = SkinCellSize(skin);
    RECT rect;
    GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rect), 2);
    if (IsVertical()) {
        rect.right = rect.left + m_nCell;
    } else {
        rect.bottom = rect.top + m_nCell;
    }
    MoveWindow(rect, TRUE);
}

ScrollBarMetrics CSkinScrollBar::Metrics() const
{
    ScrollBarMetrics metrics;
    metrics.length = m_nLength;
    metrics.cell = m_nCell;
    metrics.scale = m_fScale;
    metrics.thumbEdge = m_nThumbEdge;
    return metrics;
}

RECT CSkinScrollBar::GetCellRect(int part, int row) const
{
    const int column = CellColumn(part, IsVertical());
    return RECT{column * m_nCell, row * m_nCell, (column + 1) * m_nCell, (row + 1) * m_nCell};
}

RECT CSkinScrollBar::AxisRect(int start, int end) const
{
    const int thickness = Metrics().Thickness();
    return IsVertical() ? RECT{0, start, thickness, end} : RECT{start, 0, end, thickness};
}

RECT CSkinScrollBar::GetPartRect(int part) const
{
    const auto interval = Geometry().PartInterval(part);
    return AxisRect(interval.first, interval.second);
}

int CSkinScrollBar::PartFromPoint(POINT pt) const
{
    return Geometry().PartAt(AlongAxis(pt));
}

LRESULT CSkinScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDBLCLK:
        // The second click of a double click is not a press of its own.
        return 1;
    case SBM_SETSCROLLINFO:
        return OnSetScrollInfo(static_cast<BOOL>(wParam), reinterpret_cast<const SCROLLINFO*>(lParam));
    case SBM_GETSCROLLINFO:
        return OnGetScrollInfo(reinterpret_cast<SCROLLINFO*>(lParam));
    case WM_ENABLE:
        // The platform bar would draw its own look here; repaint the skin instead.
        Invalidate();
        return 0;
    default:
        return CScrollBar::WindowProc(message, wParam, lParam);
    }
}

LRESULT CSkinScrollBar::OnSetScrollInfo(BOOL redraw, const SCROLLINFO* info)
{
    if (!info) {
        return 0;
    }
    if (info->fMask & SIF_PAGE) {
        m_si.nPage = info->nPage;
    }
    if (info->fMask & SIF_POS) {
        m_si.nPos = info->nPos;
    }
    if (info->fMask & SIF_RANGE) {
        m_si.nMin = info->nMin;
        m_si.nMax = info->nMax;
    }
    if (redraw && m_hSkin) {
        WindowDC dc(m_hWnd);
        SkinSource skin(dc.Get(), m_hSkin);
        DrawTrackAndThumb(dc.Get(), skin);
    }
    return 1;
}

LRESULT CSkinScrollBar::OnGetScrollInfo(SCROLLINFO* info) const
{
    if (!info) {
        return 0;
    }
    if (info->fMask & SIF_PAGE) {
        info->nPage = m_si.nPage;
    }
    if (info->fMask & SIF_POS) {
        info->nPos = m_si.nPos;
    }
    if (info->fMask & SIF_TRACKPOS) {
        info->nTrackPos = m_si.nTrackPos;
    }
    if (info->fMask & SIF_RANGE) {
        info->nMin = m_si.nMin;
        info->nMax = m_si.nMax;
    }
    return 1;
}

void CSkinScrollBar::Notify(int code, int position)
{
    const UINT message = IsVertical() ? WM_VSCROLL : WM_HSCROLL;
    ::SendMessageW(GetParent(), message, MAKEWPARAM(code, position & 0xFFFF), reinterpret_cast<LPARAM>(m_hWnd));
}

void CSkinScrollBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    m_nLength = IsVertical() ? cy : cx;
}

void CSkinScrollBar::DrawCell(HDC target, const SkinSource& skin, int part, int row)
{
    CopyStretched(target, GetPartRect(part), skin.Get(), GetCellRect(part, row));
}

void CSkinScrollBar::PaintArrow(int part, int row)
{
    if (!m_hSkin) {
        return;
    }
    WindowDC dc(m_hWnd);
    SkinSource skin(dc.Get(), m_hSkin);
    DrawCell(dc.Get(), skin, part, row);
}

// Covers `dest` with whole copies of the cell `src`, each scaled; a tile that would pass the
// right or bottom edge is squeezed (not clipped) into the room left at scale 1.
void CSkinScrollBar::TileCell(HDC target, const SkinSource& skin, const RECT& dest, const RECT& src) const
{
    const int sw = Width(src);
    const int sh = Height(src);
    if (sw <= 0 || sh <= 0 || Width(dest) <= 0 || Height(dest) <= 0) {
        return;
    }
    // Above scale 1 the last scaled tile may reach past dest: keep it off the neighbours.
    const int saved = ::SaveDC(target);
    ::IntersectClipRect(target, dest.left, dest.top, dest.right, dest.bottom);
    for (int y = dest.top; y < dest.bottom;) {
        const int tileHeight = static_cast<int>(std::min(sh, static_cast<int>(dest.bottom - y)) * m_fScale);
        if (tileHeight <= 0) {
            break;
        }
        for (int x = dest.left; x < dest.right;) {
            const int tileWidth = static_cast<int>(std::min(sw, static_cast<int>(dest.right - x)) * m_fScale);
            if (tileWidth <= 0) {
                break;
            }
            CopyStretched(target, RECT{x, y, x + tileWidth, y + tileHeight}, skin.Get(), src);
            x += tileWidth;
        }
        y += tileHeight;
    }
    ::RestoreDC(target, saved);
}

// The thumb's end caps keep their length at any scale; only the middle stretches.
void CSkinScrollBar::PaintThumb(HDC target, const SkinSource& skin, const RECT& dest, const RECT& src) const
{
    if (::IsRectEmpty(&dest)) {
        return;
    }
    const int cap = std::max(m_nThumbEdge, 0) + 3;
    const int thickness = Metrics().Thickness();
    if (IsVertical()) {
        CopyStretched(target, RECT{dest.left, dest.top, dest.left + thickness, dest.top + cap}, skin.Get(),
                      RECT{src.left, src.top, src.right, src.top + cap});
        CopyStretched(target, RECT{dest.left, dest.bottom - cap, dest.left + thickness, dest.bottom}, skin.Get(),
                      RECT{src.left, src.bottom - cap, src.right, src.bottom});
        TileCell(target, skin, RECT{dest.left, dest.top + cap, dest.right, dest.bottom - cap},
                 RECT{src.left, src.top + cap, src.right, src.bottom - cap});
    } else {
        CopyStretched(target, RECT{dest.left, dest.top, dest.left + cap, dest.top + thickness}, skin.Get(),
                      RECT{src.left, src.top, src.left + cap, src.bottom});
        CopyStretched(target, RECT{dest.right - cap, dest.top, dest.right, dest.top + thickness}, skin.Get(),
                      RECT{src.right - cap, src.top, src.right, src.bottom});
        TileCell(target, skin, RECT{dest.left + cap, dest.top, dest.right - cap, dest.bottom},
                 RECT{src.left + cap, src.top, src.right - cap, src.bottom});
    }
}

void CSkinScrollBar::DrawThumbInRow(int row)
{
    if (!m_hSkin) {
        return;
    }
    WindowDC dc(m_hWnd);
    SkinSource skin(dc.Get(), m_hSkin);
    PaintThumb(dc.Get(), skin, GetPartRect(SB_THUMBTRACK), GetCellRect(SB_THUMBTRACK, row));
}

void CSkinScrollBar::DrawTrackAndThumb(HDC target, const SkinSource& skin)
{
    TileCell(target, skin, GetPartRect(SB_PAGEUP), GetCellRect(SB_PAGEUP, kRowNormal));
    TileCell(target, skin, GetPartRect(SB_PAGEDOWN), GetCellRect(SB_PAGEDOWN, kRowNormal));
    PaintThumb(target, skin, GetPartRect(SB_THUMBTRACK), GetCellRect(SB_THUMBTRACK, kRowNormal));
}

void CSkinScrollBar::OnPaint()
{
    RECT client;
    GetClientRect(&client);
    if (!m_hSkin || ::IsRectEmpty(&client)) {
        PaintDC nothingToDraw(m_hWnd);
        return;
    }
    ClientPainting painting(m_hWnd, ::GetSysColorBrush(COLOR_BTNFACE));
    {
        SkinSource skin(painting.Dc(), m_hSkin);
        DrawCell(painting.Dc(), skin, SB_LINEUP, kRowNormal);
        DrawCell(painting.Dc(), skin, SB_LINEDOWN, kRowNormal);
        DrawTrackAndThumb(painting.Dc(), skin);
    }
    painting.Present();
}

void CSkinScrollBar::OnLButtonDown(UINT flags, POINT pt)
{
    ::SetCapture(m_hWnd);
    const int part = PartFromPoint(pt);
    if (part == SB_THUMBTRACK) {
        // Nothing moves until the pointer does.
        m_bDragging = TRUE;
        m_ptDrag = pt;
        m_si.nTrackPos = m_si.nPos;
        m_nDragPos = m_si.nPos;
        return;
    }
    if (part < 0) {
        return;
    }
    m_nHeldPart = part;
    Notify(part, 0);
    SetTimer(kDelay.id, kDelay.ms);
    m_bPointerOutside = FALSE;
    if (IsArrow(part)) {
        PaintArrow(part, kRowPressed);
    }
}

void CSkinScrollBar::OnMouseMove(UINT flags, POINT pt)
{
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 1};
        m_bTrackingLeave = ::_TrackMouseEvent(&track);
    }
    TrackMove(pt);
}

void CSkinScrollBar::OnMouseLeave()
{
    m_bTrackingLeave = FALSE;
    // The leave also comes while a drag holds the capture, as soon as the pointer strays off
    // the bar; the drag goes on with the next move instead of jumping to the top.
    if (m_bDragging) {
        return;
    }
    TrackMove(POINT{-1, -1});
}

void CSkinScrollBar::TrackMove(POINT pt)
{
    if (m_bDragging) {
        DragTo(pt);
        return;
    }
    if (m_nHeldPart != -1) {
        // Leaving the held part pauses the repeat; coming back resumes it.
        const RECT held = GetPartRect(m_nHeldPart);
        m_bPointerOutside = !::PtInRect(&held, pt);
        if (IsArrow(m_nHeldPart)) {
            PaintArrow(m_nHeldPart, m_bPointerOutside ? kRowNormal : kRowPressed);
        }
        return;
    }
    const int part = PartFromPoint(pt);
    if (part == m_nHotPart) {
        return;
    }
    if (m_nHotPart == SB_THUMBTRACK) {
        DrawThumbInRow(kRowNormal);
    } else if (IsArrow(m_nHotPart)) {
        PaintArrow(m_nHotPart, kRowNormal);
    }
    if (part == SB_THUMBTRACK) {
        DrawThumbInRow(kRowHover);
    } else if (IsArrow(part)) {
        PaintArrow(part, kRowHover);
    }
    m_nHotPart = part;
}

void CSkinScrollBar::DragTo(POINT pt)
{
    const int next = DragTrackPosition(Metrics(), m_si, m_nDragPos, AlongAxis(pt) - AlongAxis(m_ptDrag));
    if (next == m_si.nTrackPos) {
        return;
    }
    const RECT before = GetPartRect(SB_THUMBTRACK);
    m_si.nTrackPos = next;
    const RECT now = GetPartRect(SB_THUMBTRACK);
    if (m_hSkin) {
        // Only the strip the thumb has left and the thumb itself change.
        const bool forward = IsVertical() ? now.bottom > before.bottom : now.right > before.right;
        const int beforeStart = IsVertical() ? before.top : before.left;
        const int beforeEnd = IsVertical() ? before.bottom : before.right;
        const int nowStart = IsVertical() ? now.top : now.left;
        const int nowEnd = IsVertical() ? now.bottom : now.right;
        const RECT strip = forward ? AxisRect(beforeStart, nowStart) : AxisRect(nowEnd, beforeEnd);
        WindowDC dc(m_hWnd);
        SkinSource skin(dc.Get(), m_hSkin);
        TileCell(dc.Get(), skin, strip, GetCellRect(SB_PAGEUP, kRowNormal));
        PaintThumb(dc.Get(), skin, now, GetCellRect(SB_THUMBTRACK, kRowPressed));
    }
    Notify(SB_THUMBTRACK, m_si.nTrackPos);
}

void CSkinScrollBar::OnLButtonUp(UINT flags, POINT pt)
{
    EndPress(pt);
    ::ReleaseCapture();
}

// Another window took the mouse (a pop-up, the system's switch to another program): the
// press or drag ends where it is, with its repeat, as if the button had been released.
void CSkinScrollBar::OnCaptureChanged(HWND newCapture)
{
    if (newCapture != m_hWnd) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        EndPress(cursor);
    }
    Default();
}

void CSkinScrollBar::EndPress(POINT pt)
{
    if (m_bDragging) {
        m_bDragging = FALSE;
        // The parent may set this bar's position while handling the notification.
        Notify(SB_THUMBPOSITION, m_si.nTrackPos);
        if (m_hSkin && m_si.nTrackPos != m_si.nPos) {
            WindowDC dc(m_hWnd);
            SkinSource skin(dc.Get(), m_hSkin);
            TileCell(dc.Get(), skin, GetPartRect(SB_THUMBTRACK), GetCellRect(SB_PAGEUP, kRowNormal));
        }
        m_si.nTrackPos = -1;
        const RECT thumb = GetPartRect(SB_THUMBTRACK);
        DrawThumbInRow(::PtInRect(&thumb, pt) ? kRowHover : kRowNormal);
        return;
    }
    if (m_nHeldPart != -1) {
        if (m_bRepeating) {
            KillTimer(kRepeat.id);
            m_bRepeating = FALSE;
        } else {
            KillTimer(kDelay.id);
        }
        if (IsArrow(m_nHeldPart)) {
            PaintArrow(m_nHeldPart, kRowNormal);
        }
        m_nHeldPart = -1;
    }
}

void CSkinScrollBar::OnTimer(UINT_PTR id)
{
    if (id == kDelay.id) {
        m_bRepeating = TRUE;
        KillTimer(kDelay.id);
        SetTimer(kRepeat.id, kRepeat.ms);
        id = kRepeat.id;
    }
    if (id != kRepeat.id || m_bPointerOutside) {
        return;
    }
    // Each held part repeats until it has done all it can: an arrow at its end of the range,
    // paging once the thumb has reached the pointer.
    bool reached = false;
    switch (m_nHeldPart) {
    case SB_LINEUP:
        reached = m_si.nPos == m_si.nMin;
        break;
    case SB_LINEDOWN:
        reached = m_si.nPos == m_si.nMax;
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
        POINT cursor;
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        const RECT thumb = GetPartRect(SB_THUMBTRACK);
        reached = ::PtInRect(&thumb, cursor) != FALSE;
        break;
    }
    default:
        return;
    }
    if (reached) {
        KillTimer(kRepeat.id);
    } else {
        Notify(m_nHeldPart, 0);
    }
}
