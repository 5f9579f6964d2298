#pragma once
#include "controls/CStateImageButton.h"

// The large image buttons whose faces carry a soft glow: the current look is drawn over the
// slice of the parent's picture that lies under the button, in WM_ERASEBKGND, and the
// pointer counts as over the button only inside a rectangle inset from the window.
class CFeaturePngButton : public CStateImageButton {
public:
    // The parent's picture, borrowed: the dialog keeps it while the button paints.
    void SetBackgroundImage(const PngImage* image) { m_background = image; }
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
    const PngImage* m_background = nullptr;
    RECT m_backgroundRect{};
    RECT m_hitInset{};
};
