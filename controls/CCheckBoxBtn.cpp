#include "controls/CCheckBoxBtn.h"

#include "controls/FocusCue.h"
#include "framework/Scale.h"
#include "res/pictures.h"

namespace {
const UINT kMarkImageId = IDP_CHECK_MARKS;
const int kCellSize = 16;    // the cells of PNG 140: unchecked at x 0, checked at x 16
const int kTextGap = 2;      // between the mark and the text
}

BEGIN_MESSAGE_MAP(CCheckBoxBtn, CSkinnedButton)
    ON_WM_PAINT()
    ON_WM_MBUTTONDOWN()
END_MESSAGE_MAP()

CCheckBoxBtn::CCheckBoxBtn() : m_ground(::CreateSolidBrush(RGB(255, 255, 255))) {}

void CCheckBoxBtn::CreateFontFromParent()
{
    m_font = CopyWindowFont(GetParent());
}

RECT CCheckBoxBtn::MarkRect(const RECT& client) const
{
    const int side = Scaled(kCellSize, m_scale);
    const int top = (client.bottom - client.top) / 2 - Scaled(kCellSize / 2, m_scale);
    return RECT{client.left, top, client.left + side, top + side};
}

void CCheckBoxBtn::OnPaint()
{
    ClientPainting painting(m_hWnd, m_ground.Get());
    const RECT& client = painting.Client();
    if (m_mark || LoadPngResource(&m_mark, kMarkImageId)) {
        {
            Gdiplus::Graphics graphics(painting.Dc());
            const int cell = GetCheck() == BST_CHECKED ? 1 : 0;
            DrawPngPart(graphics, m_mark.get(), MarkRect(client), cell * kCellSize, 0, kCellSize, kCellSize);
        }
        SelectedObject font(painting.Dc(), m_font.Get());
        const std::wstring text = GetWindowText();
        ::SetTextColor(painting.Dc(), m_textColour);
        RECT textRect = client;
        textRect.left += Scaled(kCellSize, m_scale) + kTextGap;
        ::DrawTextW(painting.Dc(), text.c_str(), static_cast<int>(text.size()), &textRect,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    // Around the text, as the platform's check boxes have it.
    if (FocusCueDue(m_hWnd)) {
        DrawFocusCue(painting.Dc(), RECT{MarkRect(client).right, client.top, client.right, client.bottom});
    }
    painting.Present();
}

void CCheckBoxBtn::OnMButtonDown(UINT, POINT)
{
    Invalidate(TRUE);
    Default();
}
