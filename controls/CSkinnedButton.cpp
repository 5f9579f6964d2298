#include "controls/CSkinnedButton.h"

BEGIN_MESSAGE_MAP(CSkinnedButton, CButton)
    ON_MESSAGE(BM_SETSTATE, OnPlatformDraw)
    ON_MESSAGE(BM_SETCHECK, OnPlatformDraw)
    ON_MESSAGE(BM_SETSTYLE, OnPlatformDraw)
    ON_MESSAGE(WM_SETFOCUS, OnPlatformDraw)
    ON_MESSAGE(WM_KILLFOCUS, OnPlatformDraw)
    ON_MESSAGE(WM_ENABLE, OnPlatformDraw)
    ON_MESSAGE(WM_UPDATEUISTATE, OnPlatformDraw)
END_MESSAGE_MAP()

LRESULT CSkinnedButton::OnPlatformDraw(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    Invalidate(TRUE);
    return result;
}
