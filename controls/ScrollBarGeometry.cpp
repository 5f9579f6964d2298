#include "controls/ScrollBarGeometry.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kSkinColumns = 9;

int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

int SkinCellSize(HBITMAP skin)
{
    BITMAP bitmap{};
    if (!skin || ::GetObjectW(skin, sizeof(bitmap), &bitmap) != sizeof(bitmap)) {
        return 0;
    }
    return bitmap.bmWidth / kSkinColumns;
}

int ScrollBarMetrics::Track() const
{
    const int track = length - static_cast<int>(2 * cell * scale);
    return track < 0 ? 0 : track;
}

int ScrollSpan(const SCROLLINFO& info)
{
    return ClampToInt(static_cast<long long>(info.nMax) - info.nMin - static_cast<long long>(info.nPage) + 1);
}

int RawThumbLength(const ScrollBarMetrics& metrics, const SCROLLINFO& info)
{
    const long long range = static_cast<long long>(info.nMax) - info.nMin + 1;
    if (range <= 0) {
        // An empty range has no thumb (and must not be divided by).
        return 0;
    }
    // 64-bit products: a long text measured in pixels must not wrap around.
    const int track = metrics.Track();
    int thumb = ClampToInt(static_cast<long long>(info.nPage) * track / range);
    const int minimum = metrics.MinimumThumb();
    if (thumb < minimum) {
        thumb = minimum;
    }
    if (track < minimum) {
        thumb = 0;
    }
    return thumb;
}

ScrollBarGeometry::ScrollBarGeometry(const ScrollBarMetrics& metrics, const SCROLLINFO& info)
    : m_length(metrics.length)
{
    const int track = metrics.Track();
    const int span = ScrollSpan(info);
    // Nothing to scroll (the page covers everything, or an empty or inverted range): no
    // thumb, and the two track parts meet in the middle.
    m_thumb = span > 0 ? RawThumbLength(metrics, info) : 0;
    const int free = track - m_thumb;
    m_arrow = track == 0 ? metrics.length / 2 : metrics.Thickness();
    if (span <= 0) {
        m_lead = free / 2;
        return;
    }
    const int pos = info.nTrackPos != -1 ? info.nTrackPos : info.nPos;
    // A position outside the range (never reported by a real control) keeps the thumb on the track.
    const long long offset = std::clamp<long long>(static_cast<long long>(pos) - info.nMin, 0, span);
    m_lead = ClampToInt(free * offset / span);
}

std::pair<int, int> ScrollBarGeometry::PartInterval(int part) const
{
    const int thumbStart = m_arrow + m_lead;
    const int thumbEnd = thumbStart + m_thumb;
    switch (part) {
    case SB_LINEUP:
        return {0, m_arrow};
    case SB_PAGEUP:
        return {m_arrow, thumbStart};
    case SB_THUMBTRACK:
        return {thumbStart, thumbEnd};
    case SB_PAGEDOWN:
        return {thumbEnd, m_length - m_arrow};
    default:
        return {m_length - m_arrow, m_length};
    }
}

int ScrollBarGeometry::PartAt(int v) const
{
    if (v < 0) {
        return -1;
    }
    if (v < m_arrow) {
        return SB_LINEUP;
    }
    if (v < m_arrow + m_lead) {
        return SB_PAGEUP;
    }
    if (v < m_arrow + m_lead + m_thumb) {
        return SB_THUMBTRACK;
    }
    if (v < m_length - m_arrow) {
        return SB_PAGEDOWN;
    }
    return SB_LINEDOWN;
}

int DragTrackPosition(const ScrollBarMetrics& metrics, const SCROLLINFO& info, int startPos, int delta)
{
    const int span = ScrollSpan(info);
    if (span <= 0) {
        return info.nMin;
    }
    const int free = metrics.Track() - RawThumbLength(metrics, info);
    const long long step = free <= 0 ? 0 : static_cast<long long>(span) * delta / free;
    // The last position is nMin + span, which for the usual nMin of 0 is the span itself.
    const long long last = static_cast<long long>(info.nMin) + span;
    return ClampToInt(std::clamp<long long>(startPos + step, info.nMin, last));
}
