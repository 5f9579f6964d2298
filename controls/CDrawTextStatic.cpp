#include "controls/CDrawTextStatic.h"

namespace {
// Set in a key message's flags when the key was already down: a held key repeats.
constexpr LPARAM kKeyWasDown = 1 << 30;
}

BEGIN_MESSAGE_MAP(CDrawTextStatic, CSkinStatic)
    ON_WM_PAINT()
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
END_MESSAGE_MAP()

UINT CDrawTextStatic::AlignFlags(int mode)
{
    switch (mode) {
    case kAlignWrapped: return DT_WORDBREAK | DT_VCENTER;
    case kAlignOneLine: return DT_SINGLELINE | DT_VCENTER;
    case kAlignOneLineCentred: return DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    case kAlignWrappedRight: return DT_WORDBREAK | DT_VCENTER | DT_RIGHT;
    case kAlignOneLineToo: return DT_SINGLELINE | DT_VCENTER;
    default: return kNoText;
    }
}

void CDrawTextStatic::SetTextColors(COLORREF normal, COLORREF hover)
{
    m_normalColour = normal;
    m_hoverColour = hover;
}

BOOL CDrawTextStatic::ContainsScreenPoint(int x, int y) const
{
    RECT window;
    GetWindowRect(&window);
    const POINT point{x, y};
    return ::PtInRect(&window, point);
}

void CDrawTextStatic::RefreshHover(int x, int y)
{
    const bool hover = ContainsScreenPoint(x, y) != FALSE;
    if (hover != m_hover) {
        m_hover = hover;
        Invalidate(TRUE);
    }
}

void CDrawTextStatic::OnPaint()
{
    if (!m_ground) {
        m_ground.Reset(::CreateSolidBrush(m_backgroundColour));
    }
    Paint(PaintLook{m_ground.Get(), true, GetWindowText(), m_hover ? m_hoverColour : m_normalColour,
                    AlignFlags(m_alignMode)});
}

LRESULT CDrawTextStatic::OnKeyDown(WPARAM key, LPARAM flags)
{
    if (key == VK_SPACE && !(flags & kKeyWasDown)) {
        ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), STN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    }
    return Default();
}
