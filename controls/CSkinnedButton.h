#pragma once
#include "framework/CButton.h"

// A template button (push button or check box) whose look is painted by our class alone.
// The platform button keeps its behaviour, but some of its state changes (pushed state,
// check state, focus, enabling, default style, UI state, text) make it draw its own look at
// once, outside WM_PAINT, with its window text, the name screen readers read: it is kept from
// drawing then, and a full repaint of ours follows.
class CSkinnedButton : public CButton {
protected:
    LRESULT OnPlatformDraw(WPARAM, LPARAM);
    void OnNcPaint() { PaintFrameIfAny(); }

    DECLARE_MESSAGE_MAP()
};
