#include "tests/support/Geometry.h"

namespace testsupport {

POINT Centre(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT CentreOf(HWND window)
{
    return Centre(WindowScreenRect(window));
}

RECT Offset(RECT rect, int dx, int dy)
{
    ::OffsetRect(&rect, dx, dy);
    return rect;
}

RECT Grown(RECT rect, int by)
{
    ::InflateRect(&rect, by, by);
    return rect;
}

RECT WindowScreenRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRectOf(HWND window)
{
    RECT rect{};
    ::GetClientRect(window, &rect);
    return rect;
}

RECT RectIn(HWND window, HWND other)
{
    RECT rect = WindowScreenRect(window);
    ::MapWindowPoints(nullptr, other, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ChildRect(HWND child)
{
    return RectIn(child, ::GetParent(child));
}

RECT ControlScreenRect(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control ? WindowScreenRect(control) : RECT{};
}

RECT ControlClientRect(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control ? RectIn(control, dialog) : RECT{};
}

LPARAM PointParam(POINT point)
{
    return MAKELPARAM(static_cast<short>(point.x), static_cast<short>(point.y));
}

std::string RectText(const RECT& rect)
{
    return "[" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + "]";
}

::testing::AssertionResult SameRect(const char* actualExpression, const char* expectedExpression, const RECT& actual,
                                    const RECT& expected)
{
    if (::EqualRect(&actual, &expected)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actualExpression << " is " << RectText(actual) << ", not "
                                         << RectText(expected) << " (" << expectedExpression << ")";
}

}  // namespace testsupport
