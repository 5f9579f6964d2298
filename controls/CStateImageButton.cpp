#include "controls/CStateImageButton.h"

BEGIN_MESSAGE_MAP(CStateImageButton, CSkinnedButton)
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BOOL CStateImageButton::SetImages(int normal, int hover, int pressed, int disabled)
{
    const int ids[4] = {normal, hover, pressed, disabled};
    for (int i = 0; i < 4; ++i) {
        m_images[i].reset();
        m_imageIds[i] = static_cast<UINT>(ids[i]);
        m_imageFound[i] = PngResourceExists(m_imageIds[i]);
    }
    return m_imageFound[3];
}

void CStateImageButton::ReleaseImages()
{
    for (int i = 0; i < 4; ++i) {
        m_images[i].reset();
        m_imageFound[i] = false;
    }
}

bool CStateImageButton::HasAllImages() const
{
    for (bool found : m_imageFound) {
        if (!found) {
            return false;
        }
    }
    return true;
}

const PngImage* CStateImageButton::CurrentImage()
{
    const int state = m_state;
    if (state < kButtonNormal || state > kButtonDisabled) {
        return nullptr;
    }
    const int slot = state - 1;
    if (!m_images[slot] && m_imageFound[slot]) {
        LoadPngResource(&m_images[slot], m_imageIds[slot]);
    }
    return m_images[slot].get();
}

RECT CStateImageButton::ImageDestination(const RECT& client, const PngImage& image) const
{
    if (m_stretch) {
        return client;
    }
    return RECT{client.left, client.top, client.left + image.Width(), client.top + image.Height()};
}

void CStateImageButton::SetStateAndRepaint(int state)
{
    m_state = state;
    Invalidate(TRUE);
    if (state == kButtonHover || state == kButtonPressed) {
        HoverStarted();
    }
}

bool CStateImageButton::KeepDisabledLook()
{
    if (IsWindowEnabled()) {
        return false;
    }
    if (m_state != kButtonDisabled) {
        SetStateAndRepaint(kButtonDisabled);
    }
    return true;
}

LRESULT CStateImageButton::OnNcHitTest(POINT screen)
{
    if (!KeepDisabledLook()) {
        RECT window;
        GetWindowRect(&window);
        const RECT sensitive = SensitiveRect(window);
        const bool inside = ::PtInRect(&sensitive, screen) != FALSE;
        if (inside && m_state == kButtonNormal) {
            SetStateAndRepaint(kButtonHover);
        } else if (!inside && m_state == kButtonHover) {
            SetStateAndRepaint(kButtonNormal);
        }
    }
    return Default();
}

void CStateImageButton::OnMouseButton(POINT client, int stateInside)
{
    if (KeepDisabledLook()) {
        return;
    }
    RECT rect;
    GetClientRect(&rect);
    const RECT sensitive = SensitiveRect(rect);
    if (::PtInRect(&sensitive, client)) {
        SetStateAndRepaint(stateInside);
    } else if (PressOutsideResets()) {
        SetStateAndRepaint(kButtonNormal);
    }
}

void CStateImageButton::OnLButtonDown(UINT, POINT client)
{
    OnMouseButton(client, kButtonPressed);
    Default();
}

void CStateImageButton::OnLButtonUp(UINT, POINT client)
{
    OnMouseButton(client, kButtonHover);
    Default();
}

void CStateImageButton::RefreshHover(int x, int y)
{
    if (KeepDisabledLook() || m_state == kButtonNormal) {
        return;
    }
    RECT window;
    GetWindowRect(&window);
    const POINT point{x, y};
    const RECT sensitive = SensitiveRect(window);
    if (!::PtInRect(&sensitive, point)) {
        SetStateAndRepaint(kButtonNormal);
    }
}
