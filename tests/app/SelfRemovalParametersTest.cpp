// The command that removes the tool's files after it has closed: only the named files, the
// folder only when empty (rmdir without /s), and nothing at all for a path the command
// interpreter would expand or mis-quote.
#include <gtest/gtest.h>

#include "app/SelfRemoval.h"

namespace {

const std::vector<std::wstring> kToolFiles = {L"Veskar.exe", L"TovarinFeedbackInformation.dll"};

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

}  // namespace

TEST(SelfRemovalParameters, DeletesTheToolsFilesThenTheFolderOnlyWhenEmpty)
{
    EXPECT_EQ("/C timeout /t 3 /nobreak"
              " & del /f /q \"C:\\Tools\\Veskar\\Veskar.exe\""
              " & del /f /q \"C:\\Tools\\Veskar\\TovarinFeedbackInformation.dll\""
              " & rmdir \"C:\\Tools\\Veskar\"",
              Narrow(BuildSelfRemovalParameters(L"C:\\Tools\\Veskar", kToolFiles)));
}

TEST(SelfRemovalParameters, PathsWithBlanksAreQuotedWhole)
{
    const std::string parameters =
        Narrow(BuildSelfRemovalParameters(L"C:\\Users\\Li Lei\\Downloads\\Veskar 1.0.3", kToolFiles));
    EXPECT_NE(std::string::npos, parameters.find("del /f /q \"C:\\Users\\Li Lei\\Downloads\\Veskar 1.0.3\\Veskar.exe\""));
    EXPECT_NE(std::string::npos, parameters.find("rmdir \"C:\\Users\\Li Lei\\Downloads\\Veskar 1.0.3\""));
    EXPECT_EQ(std::string::npos, parameters.find("/s")) << "never recursive";
}

TEST(SelfRemovalParameters, NothingIsRemovedWhenAPathHoldsAPercentSignOrAQuotationMark)
{
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"C:\\Users\\%USERNAME%\\Desktop", kToolFiles));
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"C:\\Tools\\100%", kToolFiles));
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"C:\\Tools\\a\" & rmdir /s /q \"C:\\", kToolFiles));
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"C:\\Tools", {L"Veskar%PATH%.exe"}));
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"", kToolFiles)) << "no folder, nothing to remove";
}
