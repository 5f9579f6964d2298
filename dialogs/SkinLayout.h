#pragma once
// The numbers that make one frame and content pair differ from another, and the rectangle
// arithmetic the pairs share. Sizes and margins are pixels at scale 1.0; each is scaled and
// truncated where it is used.
#include <windows.h>

// Distances from the frame's outer edge to the content's edge, per side.
struct Margins {
    int left;
    int top;
    int right;
    int bottom;
};

// Fields left out of a layout are false, 0 or no margins.
struct SkinFrameLayout {
    UINT frameTemplateId = 0;
    UINT contentTemplateId = 0;
    UINT imageId = 0;                   // the frame's picture, stretched to the design size
    int designWidth = 0;
    int designHeight = 0;
    // Content placement when it is made; also what FollowContent grows the content by.
    Margins atCreation{};
    Margins onMove{};                   // content placement when the frame moves
    bool centredOnScreen = false;       // the start rectangle is centred on the screen
    bool ownScale = false;              // the frame's scale comes from the screen's density
    // The content is placed in the start rectangle, not in the frame's window.
    bool contentInStartRect = false;
    int moveSyncAtStart = 0;            // non-zero: the frame's moves carry the content along
    bool swallowsEnterEscape = false;
    // A modal frame whose picture cannot be loaded has nothing to click; true: it ends at once
    // with IDCANCEL. False for a frame that its owner always ends by message.
    bool cancelsWithoutPicture = false;
    // The content's size at creation is the start rectangle's less both margins of a side,
    // cut once (skin::PlaceAtCreation); false: less each margin cut on its own (skin::Inset),
    // the rule the frame's moves keep.
    bool contentSizeCutOnce = false;
};

struct SkinContentLayout {
    UINT imageId = 0;                   // the content's background, stretched over the client area
    int imageTrimRight = 0;             // pixels of the image left out at the right ...
    int imageTrimBottom = 0;            // ... and at the bottom
    int dragStripExclusion = 0;         // right part of the 30-pixel top strip that does not drag, or
                                        // skin::kNoDragStrip
    int dragFlagAtStart = 0;
    UINT hoverTimerId = 0;              // 100 ms hover upkeep for the registered controls; 0: none
    bool smoothBackground = false;      // high-quality smoothing for the background
    bool swallowsEnterEscape = false;
};

namespace skin {

// Height of the content's drag strip (not scaled).
constexpr int kDragStripHeight = 30;
// A content's dragStripExclusion when it has no drag strip at all.
constexpr int kNoDragStrip = -1;
// Period of the hover upkeep timer.
constexpr UINT kHoverPeriodMs = 100;

// `rect` shrunk by the margins times `scale`, each product truncated.
RECT Inset(const RECT& rect, const Margins& margins, float scale);
// Where a content goes when it is made: the top-left corner moved by the scaled margins, and
// the size less both margins of a side computed in floating point and cut once (at 1.2 the
// main panel is 733 - 11 * 1.2 = 719.8, so 719 high, where cutting each margin gives 721).
RECT PlaceAtCreation(const RECT& rect, const Margins& margins, float scale);
// `rect` grown by the margins times `scale`, each product truncated.
RECT Outset(const RECT& rect, const Margins& margins, float scale);
// The frame's start rectangle: `origin` with the scaled design size, or centred on a
// screen of the given size.
RECT StartRect(const SkinFrameLayout& layout, float scale, POINT origin, SIZE screen);
// The scale a frame computes for itself from the screen's LOGPIXELSY.
float ScaleFromDpi(int logPixelsY);
// The drag strip of a content whose client area lies at `clientOnScreen`; empty when the
// content has none.
RECT DragStrip(const RECT& clientOnScreen, int exclusion);

// The keys that windows with a key filter keep from the dialog manager.
inline bool IsEnterOrEscapeDown(const MSG& msg)
{
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN);
}

}  // namespace skin
