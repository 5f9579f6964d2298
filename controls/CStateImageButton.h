#pragma once
// The state machine and images shared by the two image buttons: four looks (normal, hover,
// pressed, disabled), switched by the mouse messages the button sees and by its owner's
// hover upkeep.
#include "controls/CSkinnedButton.h"
#include "controls/HoverTarget.h"
#include "controls/PngImage.h"

enum ButtonState : int {
    kButtonNormal = 1,
    kButtonHover = 2,
    kButtonPressed = 3,
    kButtonDisabled = 4,
};

class CStateImageButton : public CSkinnedButton, public HoverTarget {
public:
    // The four looks, each decoded when first shown; a missing resource leaves its slot
    // empty. Returns whether the last one exists.
    BOOL SetImages(int normal, int hover, int pressed, int disabled);
    void SetStretch(BOOL stretch) { m_stretch = stretch; }
    // Deletes every image held; the owner calls it when its window goes.
    virtual void ReleaseImages();
    void RefreshHover(int x, int y) override;
    int GetState() const { return m_state; }

protected:
    // The rectangle in which the pointer counts as over the button, from the window's or
    // client rectangle.
    virtual RECT SensitiveRect(const RECT& rect) const { return rect; }
    // Whether a press or release outside the sensitive rectangle drops the look to normal.
    virtual bool PressOutsideResets() const { return false; }

    bool HasAllImages() const;
    // The image of the current state, decoded on first use; null for a state outside 1 to 4.
    const PngImage* CurrentImage();
    // Where the current image goes: the whole client when stretched, else its natural size.
    RECT ImageDestination(const RECT& client, const PngImage& image) const;
    void SetStateAndRepaint(int state);
    // A disabled window always shows the disabled look; true when disabled.
    bool KeepDisabledLook();

    LRESULT OnNcHitTest(POINT screen);
    void OnLButtonDown(UINT flags, POINT client);
    void OnLButtonUp(UINT flags, POINT client);

    // The look the next paint shows; changed on the window's own thread only.
    int m_state = kButtonNormal;
    UINT m_imageIds[4] = {};
    bool m_imageFound[4] = {};
    PngImagePtr m_images[4];
    BOOL m_stretch = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    void OnMouseButton(POINT client, int stateInside);
};
