#include "controls/CFeaturePngButton.h"

#include "controls/FocusCue.h"

BEGIN_MESSAGE_MAP(CFeaturePngButton, CStateImageButton)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CFeaturePngButton::SetBackgroundRect(int left, int top, int right, int bottom)
{
    m_backgroundRect = RECT{left, top, right, bottom};
}

void CFeaturePngButton::SetHitInset(int left, int top, int right, int bottom)
{
    m_hitInset = RECT{left, top, right, bottom};
}

void CFeaturePngButton::EnableButton(BOOL enable)
{
    m_state = enable ? kButtonNormal : kButtonDisabled;
    ::EnableWindow(m_hWnd, enable);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFeaturePngButton::ReleaseImages()
{
    CStateImageButton::ReleaseImages();
    m_background = nullptr;
}

RECT CFeaturePngButton::SensitiveRect(const RECT& rect) const
{
    return RECT{rect.left + m_hitInset.left, rect.top + m_hitInset.top, rect.right - m_hitInset.right,
                rect.bottom - m_hitInset.bottom};
}

// All drawing happens in the erase; the paint only validates.
void CFeaturePngButton::OnPaint()
{
    PaintDC paint(m_hWnd);
}

BOOL CFeaturePngButton::OnEraseBkgnd(HDC dc)
{
    ClientPainting painting(m_hWnd, dc, nullptr);
    const RECT& client = painting.Client();
    const PngImage* image = CurrentImage();
    if (HasAllImages() && m_background && image) {
        Gdiplus::Graphics graphics(painting.Dc());
        const RECT dest = ImageDestination(client, *image);
        DrawPngPart(graphics, m_background, dest, m_backgroundRect.left, m_backgroundRect.top,
                    m_backgroundRect.right - m_backgroundRect.left, m_backgroundRect.bottom - m_backgroundRect.top);
        DrawPngPart(graphics, image, dest, 0, 0, image->Width(), image->Height());
    }
    // Around the face, inside the glow.
    if (FocusCueDue(m_hWnd)) {
        DrawFocusCue(painting.Dc(), SensitiveRect(client));
    }
    painting.Present();
    return TRUE;
}
