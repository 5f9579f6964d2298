#pragma once
#include "controls/CStateImageButton.h"

// The large image buttons whose faces carry a soft glow: the current look is drawn over the
// slice of the parent's picture that lies under the button, in WM_ERASEBKGND, and the
// pointer counts as over the button only inside a rectangle inset from the window.
class CFeaturePngButton : public CStateImageButton {
public:
    // The parent's picture, loaded as the button's own copy.
    BOOL SetBackgroundImage(int id);
    // The part of that picture (image pixels) that the button covers.
    void SetBackgroundRect(int left, int top, int right, int bottom);
    void SetHitInset(int left, int top, int right, int bottom);
    // Enables or disables the button with its look.
    void EnableButton(BOOL enable);
    void ReleaseImages() override;

protected:
    RECT SensitiveRect(const RECT& rect) const override;
    bool PressOutsideResets() const override { return true; }

    void OnPaint();
    BOOL OnEraseBkgnd(HDC dc);

    DECLARE_MESSAGE_MAP()

private:
    PngImagePtr m_background;
    RECT m_backgroundRect{};
    RECT m_hitInset{};
};
