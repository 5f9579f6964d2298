#pragma once
// Rectangles and points of windows on the screen, and a check that says which rectangle a
// test got when it is not the one it expected.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace testsupport {

POINT Centre(const RECT& rect);
// The centre of a window on the screen.
POINT CentreOf(HWND window);
RECT Offset(RECT rect, int dx, int dy);
// The rectangle grown by `by` pixels on every side.
RECT Grown(RECT rect, int by);

RECT WindowScreenRect(HWND window);
RECT ClientRectOf(HWND window);
// A window's rectangle in the client coordinates of `other`.
RECT RectIn(HWND window, HWND other);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// A control's rectangle on the screen, or in its dialog's client coordinates; empty when the
// dialog has no such control.
RECT ControlScreenRect(HWND dialog, int id);
RECT ControlClientRect(HWND dialog, int id);

// A point as the lParam of a mouse message.
LPARAM PointParam(POINT point);
// "[left, top, right, bottom]", for messages and comparisons.
std::string RectText(const RECT& rect);
// The check behind EXPECT_RECT.
::testing::AssertionResult SameRect(const char* actualExpression, const char* expectedExpression, const RECT& actual,
                                    const RECT& expected);

}  // namespace testsupport

// Expects `actual` to equal the rectangle given after it (braces allowed); messages may follow
// with <<.
#define EXPECT_RECT(actual, ...) EXPECT_PRED_FORMAT2(::testsupport::SameRect, actual, (__VA_ARGS__))
