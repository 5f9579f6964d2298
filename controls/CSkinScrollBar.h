#pragma once
// A scroll-bar control drawn from a bitmap skin (9 columns x 3 rows of square cells; rows are
// normal, hover and pressed) with its own mouse logic and its own copy of the scroll state.
// The platform scroll bar underneath never draws and never scrolls: SBM_SETSCROLLINFO and
// SBM_GETSCROLLINFO work on the copy, and the parent hears WM_VSCROLL / WM_HSCROLL.
#include "controls/ScrollBarGeometry.h"
#include "framework/CScrollBar.h"

class CSkinScrollBar : public CScrollBar {
public:
    // Auto-repeat: the first delay, then the repeat.
    struct RepeatTimer {
        UINT_PTR id;
        UINT ms;
    };
    static constexpr RepeatTimer kDelay = {.id = 200, .ms = 500};
    static constexpr RepeatTimer kRepeat = {.id = 100, .ms = 100};

    // Cell rows of the skin.
    enum Row : int { kRowNormal = 0, kRowHover = 1, kRowPressed = 2 };

    CSkinScrollBar() = default;
    ~CSkinScrollBar() override = default;

    // Borrows the skin (the caller keeps it alive) and makes the bar one cell thick.
    void SetSkinBitmap(HBITMAP skin);
    // Set before SetSkinBitmap.
    void SetScale(float scale) { m_fScale = scale; }
    void SetThumbEdge(int edge) { m_nThumbEdge = edge; }

    int GetCell() const { return m_nCell; }
    BOOL IsDragging() const { return m_bDragging; }

    // Skin cell of a part in a row, in the skin's pixels.
    RECT GetCellRect(int part, int row) const;
    // A part's rectangle in client coordinates.
    RECT GetPartRect(int part) const;
    // The part under a client point; -1 before the bar.
    int PartFromPoint(POINT pt) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT pt);
    void OnMouseMove(UINT flags, POINT pt);
    void OnLButtonUp(UINT flags, POINT pt);
    void OnCaptureChanged(HWND newCapture);
    // Ends a press on an arrow or the track, or a drag of the thumb; `pt` in client coordinates.
    void EndPress(POINT pt);
    void OnTimer(UINT_PTR id);
    void OnMouseLeave();

    DECLARE_MESSAGE_MAP()

private:
    class SkinSource;

    bool IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }
    int AlongAxis(POINT pt) const { return IsVertical() ? pt.y : pt.x; }
    ScrollBarMetrics Metrics() const;
    ScrollBarGeometry Geometry() const { return ScrollBarGeometry(Metrics(), m_si); }
    RECT AxisRect(int start, int end) const;

    LRESULT OnSetScrollInfo(BOOL redraw, const SCROLLINFO* info);
    LRESULT OnGetScrollInfo(SCROLLINFO* info) const;
    void Notify(int code, int position);
    void TrackMove(POINT pt);
    void DragTo(POINT pt);

    // Drawing: one part onto a device context, from the skin held by `skin`.
    void PaintArrow(int part, int row);
    void DrawCell(HDC target, const SkinSource& skin, int part, int row);
    void TileCell(HDC target, const SkinSource& skin, const RECT& dest, const RECT& src) const;
    void PaintThumb(HDC target, const SkinSource& skin, const RECT& dest, const RECT& src) const;
    void DrawThumbInRow(int row);
    void DrawTrackAndThumb(HDC target, const SkinSource& skin);

    HBITMAP m_hSkin = nullptr;
    int m_nCell = 0;
    int m_nLength = 0;
    SCROLLINFO m_si{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, -1};
    BOOL m_bDragging = FALSE;
    POINT m_ptDrag{0, 0};
    int m_nDragPos = 0;
    int m_nHeldPart = -1;
    BOOL m_bRepeating = FALSE;
    int m_nHotPart = -1;
    BOOL m_bPointerOutside = FALSE;
    BOOL m_bTrackingLeave = FALSE;
    float m_fScale = 1.0f;
    int m_nThumbEdge = 0;
};
