#pragma once
// Rectangle checks shared by the pop-up tests.
#include <windows.h>

#include <string>

namespace popupstest {

inline std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

}  // namespace popupstest

#define EXPECT_RECT(actual, ...)                                                                     \
    do {                                                                                             \
        const RECT expectedRect = __VA_ARGS__;                                                       \
        EXPECT_TRUE(::EqualRect(&(actual), &expectedRect))                                          \
            << popupstest::Text(actual) << " != " << popupstest::Text(expectedRect);                 \
    } while (0)
