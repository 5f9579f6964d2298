#include "controls/CSkinnedButton.h"

BEGIN_MESSAGE_MAP(CSkinnedButton, CButton)
    ON_MESSAGE(BM_SETSTATE, OnPlatformDraw)
    ON_MESSAGE(BM_SETCHECK, OnPlatformDraw)
    ON_MESSAGE(BM_SETSTYLE, OnPlatformDraw)
    ON_MESSAGE(WM_SETFOCUS, OnPlatformDraw)
    ON_MESSAGE(WM_KILLFOCUS, OnPlatformDraw)
    ON_MESSAGE(WM_ENABLE, OnPlatformDraw)
    ON_MESSAGE(WM_UPDATEUISTATE, OnPlatformDraw)
    ON_MESSAGE(WM_SETTEXT, OnPlatformDraw)
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// The platform button draws at once only while it is visible: with redrawing off it is not,
// for the moment. Redrawing is turned on again only on a window that was visible.
LRESULT CSkinnedButton::OnPlatformDraw(WPARAM, LPARAM)
{
    const bool visible = (GetStyle() & WS_VISIBLE) != 0;
    if (visible) {
        DefWindowProc(WM_SETREDRAW, FALSE, 0);
    }
    const LRESULT result = Default();
    if (visible) {
        DefWindowProc(WM_SETREDRAW, TRUE, 0);
    }
    Invalidate(TRUE);
    return result;
}
