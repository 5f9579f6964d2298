// The switches of a start, as an administrator's deployment tool writes them.
#include <gtest/gtest.h>

#include "app/QuietRepair.h"

namespace {

using Arguments = std::vector<std::wstring>;

TEST(StartMode, QuietInEitherSpellingCaseAndPrefix)
{
    for (const wchar_t* spelling : {L"/quiet", L"/q", L"-quiet", L"-q", L"/QUIET", L"/Q", L"-Quiet"}) {
        EXPECT_EQ(StartMode::Quiet, ParseStartMode(Arguments{spelling})) << spelling;
    }
    EXPECT_EQ(StartMode::Quiet, ParseStartMode(Arguments{L"/q", L"-QUIET"}));
}

TEST(StartMode, NoArgumentsIsTheWindowAndAnythingElseIsRefused)
{
    EXPECT_EQ(StartMode::Interactive, ParseStartMode(Arguments{}));
    EXPECT_EQ(StartMode::Usage, ParseStartMode(Arguments{L"/?"}));
    EXPECT_EQ(StartMode::Usage, ParseStartMode(Arguments{L"/quiet", L"-?"}));
    for (const wchar_t* other : {L"quiet", L"/quit", L"/qq", L"/", L"-", L"", L"/quiet=1", L"\\quiet"}) {
        EXPECT_EQ(StartMode::Unknown, ParseStartMode(Arguments{other})) << other;
    }
    // A quiet switch does not make an unknown one acceptable.
    EXPECT_EQ(StartMode::Unknown, ParseStartMode(Arguments{L"/quiet", L"/force"}));
}

}  // namespace
