#include "app/PanelLayout.h"

namespace {

// The panel's design size at scale 1.0 (its picture, PNG 139).
constexpr int kDesignWidth = 400;
constexpr int kDesignHeight = 600;

RECT Box(int left, int top, int width, int height)
{
    return RECT{left, top, left + width, top + height};
}

int Trunc(float value)
{
    return static_cast<int>(value);
}

// The close and minimise buttons share a form; only their distance from the right differs.
RECT TitleButton(const RECT& client, float s, float fromRight)
{
    const int left = Trunc(client.right - fromRight * s);
    return RECT{left, client.top, Trunc(left + 26 * s), Trunc(client.top + 34 * s)};
}

// A text in the bottom strip, 20 pixels high, 25 above the bottom.
RECT BottomStrip(const RECT& client, float s, int left, int right)
{
    const int top = Trunc(client.bottom - 25 * s);
    return RECT{left, top, right, Trunc(top + 20 * s)};
}

}  // namespace

PanelLayout ComputePanelLayout(const RECT& client, float s, int agreeTextWidth, int feedbackTextWidth)
{
    PanelLayout layout{};
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    layout.close = TitleButton(client, s, 31.2f);
    layout.minimize = TitleButton(client, s, 59.8f);

    const int versionLeft = Trunc(188 * s);
    const int versionTop = Trunc(16 * s);
    layout.version = RECT{versionLeft, versionTop, versionLeft + Trunc(40 * s), versionTop + Trunc(15 * s)};

    // A panel wider than its design is scaled from the design; at its design size the
    // buttons take their unscaled places (and their own rectangles as background slices).
    if (width > kDesignWidth) {
        layout.repair = Box(Trunc(kDesignWidth * s / 2 - 284 * s / 2), Trunc(kDesignHeight * s / 2 - 40 * s),
                            Trunc(284 * s), Trunc(85 * s));
        layout.repairSlice = RECT{58, 260, 342, 345};
        layout.repairInset = Trunc(19 * s);
        layout.moreTools = Box(Trunc(45 * s), client.bottom - Trunc(60 * s), Trunc(58 * s), Trunc(18 * s));
        layout.moreToolsSlice = RECT{45, 540, 103, 558};
    } else {
        layout.repair = Box(width / 2 - 142, height / 2 - 40, 284, 85);
        layout.repairSlice = layout.repair;
        layout.repairInset = 19;
        layout.moreTools = Box(45, client.bottom - 60, 58, 18);
        layout.moreToolsSlice = layout.moreTools;
    }

    const int c = agreeTextWidth / 14;
    const int agreeLeft = Trunc(8 * s);
    const int agreeTop = Trunc(client.bottom - 25 * s);
    layout.agree = RECT{agreeLeft, agreeTop, Trunc(agreeLeft + 16 * s + 2 * c + 2), Trunc(agreeTop + 20 * s)};

    const int linkLeft = layout.agree.right + 6;
    layout.agreementLink = BottomStrip(client, s, linkLeft, linkLeft + 14 * c);

    const int feedbackWidth = Trunc(feedbackTextWidth + 4 * s + 2 + 6);
    layout.feedbackLink = BottomStrip(client, s, client.right - feedbackWidth - 6, client.right - 6);
    return layout;
}

