#include "controls/CPngButton.h"

#include "controls/FocusCue.h"

namespace {
const COLORREF kGroundColour = RGB(255, 255, 255);
}

BEGIN_MESSAGE_MAP(CPngButton, CStateImageButton)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPngButton::CPngButton() : m_ground(::CreateSolidBrush(kGroundColour)) {}

void CPngButton::OnPaint()
{
    ClientPainting painting(m_hWnd, m_ground.Get());
    const RECT& client = painting.Client();
    const PngImage* image = CurrentImage();
    if (HasAllImages() && image) {
        Gdiplus::Graphics graphics(painting.Dc());
        // The source is one pixel short of the image in each direction, as the skin was
        // drawn for.
        DrawPngPart(graphics, image, ImageDestination(client, *image), 0, 0, image->Width() - 1,
                    image->Height() - 1);
    }
    if (FocusCueDue(m_hWnd)) {
        DrawFocusCue(painting.Dc(), client);
    }
    painting.Present();
}
