#pragma once
// What the two drawn statics share: the font copied from the parent, the borrowed slice of
// the dialog's picture under the control, and the one off-screen paint, with the focus cue
// when a static that takes the focus (a link) has it.
#include <string>

#include "controls/PngImage.h"
#include "framework/CStatic.h"

class CSkinStatic : public CStatic {
public:
    // The align mode both statics read alike: one line, left-aligned, vertically centred.
    // Each static names the other modes it knows.
    static constexpr int kAlignOneLine = 1;
    static constexpr int kAlignOneLineCentred = 2;

    void CreateFontFromParent();
    void SetAlignMode(int mode) { m_alignMode = mode; }
    // Borrowed: the dialog keeps the image and must not delete it while the control paints.
    void SetBackgroundImage(const PngImage* image) { m_background = image; }
    void SetBackgroundRect(int left, int top, int right, int bottom);
    int GetAlignMode() const { return m_alignMode; }

protected:
    // How one paint draws: the ground, the slice (smoothed or not), and the text with its
    // DrawText flags; kNoText draws no text.
    static constexpr UINT kNoText = 0xFFFFFFFF;
    struct PaintLook {
        HBRUSH ground;
        bool smoothSlice;
        std::wstring text;
        COLORREF colour;
        UINT flags;
    };
    void Paint(const PaintLook& look);
    // Focus and UI-state changes bring the focus cue or take it away.
    LRESULT OnFocusCueChange(WPARAM, LPARAM);
    void OnNcPaint() { PaintFrameIfAny(); }
    // Paint covers the whole client area from its off-screen buffer: nothing to erase first.
    BOOL OnEraseBkgnd(HDC) { return TRUE; }

    int m_alignMode = 0;

    DECLARE_MESSAGE_MAP()

private:
    FontHolder m_font;
    const PngImage* m_background = nullptr;
    RECT m_backgroundRect{};
};
