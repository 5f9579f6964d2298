#pragma once
#include "controls/CSkinStatic.h"
#include "controls/HoverTarget.h"

// A drawn text on its own ground, optionally over a slice of the dialog's picture, with a
// second colour while the pointer is over it (the owner reports the pointer). As a link (a
// tab stop of its dialog) it takes the focus, and Space on it sends its dialog STN_CLICKED;
// clicks pass through it to the dialog, which tells the links apart itself.
class CDrawTextStatic : public CSkinStatic, public HoverTarget {
public:
    void SetTextColors(COLORREF normal, COLORREF hover);
    // Only effective before the first paint: the ground brush is made once.
    void SetBkColor(COLORREF colour) { m_backgroundColour = colour; }
    void RefreshHover(int x, int y) override;
    BOOL ContainsScreenPoint(int x, int y) const;
    bool IsHover() const { return m_hover; }

    // Its other align modes; kAlignNoText, like any mode not named here, draws no text.
    static constexpr int kAlignWrapped = 0;
    static constexpr int kAlignWrappedRight = 3;
    static constexpr int kAlignOneLineToo = 4;  // as kAlignOneLine
    static constexpr int kAlignNoText = 5;

    // DrawText flags of an align mode; kNoText where the mode draws no text.
    static UINT AlignFlags(int mode);

protected:
    void OnPaint();
    LRESULT OnKeyDown(WPARAM key, LPARAM flags);

    DECLARE_MESSAGE_MAP()

private:
    BrushHolder m_ground;
    COLORREF m_normalColour = RGB(0, 0, 0);
    COLORREF m_hoverColour = RGB(0, 0, 255);
    COLORREF m_backgroundColour = RGB(255, 255, 255);
    bool m_hover = false;
};
