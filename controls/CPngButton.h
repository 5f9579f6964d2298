#pragma once
#include "controls/CStateImageButton.h"

// The small image buttons (title-bar buttons, the prompt's answers): the current look drawn
// on a white ground in WM_PAINT.
class CPngButton : public CStateImageButton {
public:
    CPngButton();

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    BrushHolder m_ground;
};
