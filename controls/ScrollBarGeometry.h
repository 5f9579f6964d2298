#pragma once
// The skinned scroll bar's layout as plain arithmetic: where the arrows, the two track parts
// and the thumb lie along the bar for a given length, skin cell, scale and scroll state.
#include <windows.h>

#include <utility>

// Cell side of a scroll-bar skin (9 columns of square cells); 0 for a missing or unreadable
// bitmap, so that every part of a bar without skin is empty.
int SkinCellSize(HBITMAP skin);

// The inputs that do not change with the scroll state.
struct ScrollBarMetrics {
    int length = 0;     // client height of a vertical bar, client width of a horizontal one
    int cell = 0;       // skin cell side at scale 1
    float scale = 1.0f;
    int thumbEdge = 0;  // the thumb's end caps are max(thumbEdge, 0) + 3 long

    // Thickness across the bar and length of an arrow at this scale.
    int Thickness() const { return static_cast<int>(cell * scale); }
    // Length of the track between the two arrows; 0 when the arrows fill the bar.
    int Track() const;
    // Shortest thumb that is drawn at all.
    int MinimumThumb() const { return thumbEdge > 0 ? 2 * thumbEdge + 6 : 6; }
};

// Positions the thumb can take: nMax - nMin - nPage + 1. Zero or less means that there is
// nothing to scroll (the page covers the whole range, or the range itself is empty).
int ScrollSpan(const SCROLLINFO& info);

// Thumb length before the page-covers-everything rule, for the drag arithmetic: the page's
// share of the track, at least MinimumThumb, and none on a track shorter than that. An empty
// or inverted range has no thumb.
int RawThumbLength(const ScrollBarMetrics& metrics, const SCROLLINFO& info);

class ScrollBarGeometry {
public:
    ScrollBarGeometry(const ScrollBarMetrics& metrics, const SCROLLINFO& info);

    int Arrow() const { return m_arrow; }
    int Lead() const { return m_lead; }
    int Thumb() const { return m_thumb; }

    // [start, end) along the bar of a part (SB_LINEUP, SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN;
    // any other code is the down arrow).
    std::pair<int, int> PartInterval(int part) const;
    // The part at offset v along the bar; -1 before the bar.
    int PartAt(int v) const;

private:
    int m_length;
    int m_arrow;
    int m_lead;
    int m_thumb;
};

// The track position a thumb drag reaches after moving `delta` pixels from where it was
// pressed at `startPos`, kept within the positions the range allows.
int DragTrackPosition(const ScrollBarMetrics& metrics, const SCROLLINFO& info, int startPos, int delta);
