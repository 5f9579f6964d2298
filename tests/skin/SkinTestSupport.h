#pragma once
// What the skin tests share: GDI+ for the whole test program, message pumping, code run
// from inside modal loops, screen pixels of windows and reference pixels of the images.
#include <windows.h>

#include <functional>
#include <vector>

class PngImage;

namespace skintest {

// Processes this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);
// Processes messages until `done` holds or `timeoutMs` passes; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Runs `step` on this thread after about `delayMs`, from whatever message loop is running
// then (a modal loop included).
void Later(DWORD delayMs, std::function<void()> step);
// Runs `check` every 20 ms from the running message loop until it returns true, or until
// `timeoutMs`; then runs `then`.
void PollThen(const std::function<bool()>& check, DWORD timeoutMs, std::function<void()> then);

// What a window shows on the screen: its client area read back after it has painted.
class ClientPixels {
public:
    explicit ClientPixels(HWND window);
    COLORREF At(int x, int y) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Number of pixels for which `test` holds.
    int Count(const std::function<bool(COLORREF)>& test) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;
};

// What the screen shows at a point.
COLORREF ScreenPixel(int x, int y);

// The decoded pixels of a "PNG" resource, as 0xAARRGGBB (not premultiplied).
class ReferenceImage {
public:
    explicit ReferenceImage(UINT id);
    bool Loaded() const { return !m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    DWORD At(int x, int y) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;
};

// `argb` laid over an opaque `ground` (COLORREF), as a COLORREF.
COLORREF Over(DWORD argb, COLORREF ground);
COLORREF Opaque(DWORD argb);
// Largest difference of the three channels.
int ColourDistance(COLORREF a, COLORREF b);

// Real input. Under Wine SetCursorPos does not reliably move the pointer that input goes
// to; an absolute move through SendInput does.
void MoveMouseTo(POINT screen);
void MouseButton(bool down);
// Moves the pointer and pumps messages until it has settled there.
void MovePointerAndSettle(POINT screen);
// A left click (down and up) at a screen point, once the pointer has settled there.
void ClickAt(POINT screen);

RECT WindowRectOf(HWND window);
// The centre of a window on the screen.
POINT CentreOf(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

// Draws the 16 x 16 source square at (srcX, srcY) of `image` over a 16 x 16 white ground (a
// screen-compatible bitmap, as the controls use); the 256 pixels, row by row.
std::vector<COLORREF> DrawnSquare(const PngImage* image, int srcX, int srcY);

}  // namespace skintest
