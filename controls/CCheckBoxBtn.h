#pragma once
#include "controls/CSkinnedButton.h"
#include "controls/PngImage.h"

// The agreement check box: the platform check box's behaviour with a drawn mark (a cell of
// PNG 140) and text. Every check-state change is followed by a repaint of our own, so the
// new mark shows after each toggle.
class CCheckBoxBtn : public CSkinnedButton {
public:
    CCheckBoxBtn();

    void CreateFontFromParent();
    void SetScale(float scale) { m_scale = scale; }
    void SetTextColor(COLORREF colour) { m_textColour = colour; }
    // The mark's rectangle in a client rectangle at the current scale.
    RECT MarkRect(const RECT& client) const;

protected:
    void OnPaint();
    void OnMButtonDown(UINT flags, POINT point);

    DECLARE_MESSAGE_MAP()

private:
    PngImagePtr m_mark;
    BrushHolder m_ground;
    FontHolder m_font;
    COLORREF m_textColour = RGB(0, 0, 0);
    float m_scale = 1.0f;
};
