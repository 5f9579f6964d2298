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
    // The paint covers the whole client area from its off-screen buffer, so there is nothing
    // to erase first: the platform's erase would draw the parent's background for nothing.
    // A button that draws in its erase maps its own handler.
    BOOL OnEraseBkgnd(HDC) { return TRUE; }

    DECLARE_MESSAGE_MAP()
};
