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
    PaintDC paint(m_hWnd);
    RECT client;
    GetClientRect(&client);
    OffscreenBuffer buffer(paint.Get(), client, m_ground.Get());
    const PngImage* image = CurrentImage();
    if (HasAllImages() && image) {
        Gdiplus::Graphics graphics(buffer.Get());
        // The source is one pixel short of the image in each direction, as the skin was
        // drawn for.
        DrawPngPart(graphics, image, ImageDestination(client, *image), 0, 0, image->Width() - 1,
                    image->Height() - 1);
    }
    if (FocusCueDue(m_hWnd)) {
        DrawFocusCue(buffer.Get(), client);
    }
    buffer.Present(paint.Get());
}
