#pragma once
#include "framework/CButton.h"

// A template button (push button or check box) whose look is painted by our class alone.
// The platform button keeps its behaviour, but some of its state changes (pushed state,
// check state, focus, enabling, default style) make it draw its own look at once, outside
// WM_PAINT; each of them is followed here by a full repaint so that our look comes back.
class CSkinnedButton : public CButton {
protected:
    LRESULT OnPlatformDraw(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};
