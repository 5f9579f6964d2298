#include "dialogs/SkinLayout.h"

#include "framework/Scale.h"

namespace skin {

RECT Inset(const RECT& rect, const Margins& margins, float scale)
{
    return RECT{rect.left + Scaled(margins.left, scale), rect.top + Scaled(margins.top, scale),
                rect.right - Scaled(margins.right, scale), rect.bottom - Scaled(margins.bottom, scale)};
}

RECT PlaceAtCreation(const RECT& rect, const Margins& margins, float scale)
{
    // In float, as the scale is kept: in double, 492 - 10 * 1.2f would fall just below 480.
    const float width = static_cast<float>(rect.right - rect.left) - static_cast<float>(margins.left + margins.right) * scale;
    const float height =
        static_cast<float>(rect.bottom - rect.top) - static_cast<float>(margins.top + margins.bottom) * scale;
    const int left = rect.left + Scaled(margins.left, scale);
    const int top = rect.top + Scaled(margins.top, scale);
    return RECT{left, top, left + static_cast<int>(width), top + static_cast<int>(height)};
}

RECT Outset(const RECT& rect, const Margins& margins, float scale)
{
    return RECT{rect.left - Scaled(margins.left, scale), rect.top - Scaled(margins.top, scale),
                rect.right + Scaled(margins.right, scale), rect.bottom + Scaled(margins.bottom, scale)};
}

RECT StartRect(const SkinFrameLayout& layout, float scale, POINT origin, SIZE screen)
{
    const int width = Scaled(layout.designWidth, scale);
    const int height = Scaled(layout.designHeight, scale);
    if (layout.centredOnScreen) {
        origin.x = screen.cx / 2 - static_cast<int>(layout.designWidth * scale / 2);
        origin.y = screen.cy / 2 - static_cast<int>(layout.designHeight * scale / 2);
    }
    return RECT{origin.x, origin.y, origin.x + width, origin.y + height};
}

float ScaleFromDpi(int logPixelsY)
{
    // Divided by 100, not 96: 96 and 100 both keep 1.0, 120 gives 1.2.
    return logPixelsY > 100 ? static_cast<float>(logPixelsY) / 100.0f : 1.0f;
}

RECT DragStrip(const RECT& clientOnScreen, int exclusion)
{
    if (exclusion < 0) {
        return RECT{};
    }
    return RECT{clientOnScreen.left, clientOnScreen.top, clientOnScreen.right - exclusion,
                clientOnScreen.top + kDragStripHeight};
}

}  // namespace skin
