// The stand-in feedback library itself: its export table, its pages and which pages it opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "repair/MakerPages.h"
#include "repair/ToolIdentity.h"
#include "standins/feedback/FeedbackText.h"
#include "tests/support/Files.h"

using namespace testsupport;

namespace {

// The exported names of a DLL file, read from its export directory; empty when unreadable.
std::vector<std::string> ExportedNames(const std::wstring& path)
{
    std::string image = ReadBytes(path);
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) {
        return {};
    }
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
    auto sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
                return rva - s.VirtualAddress + s.PointerToRawData;
            }
        }
        return 0;
    };
    DWORD exportRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    if (exportRva == 0) {
        return {};
    }
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(image.data() + offsetOf(exportRva));
    auto names = reinterpret_cast<const DWORD*>(image.data() + offsetOf(exports->AddressOfNames));
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        result.emplace_back(image.data() + offsetOf(names[i]));
    }
    return result;
}

} // namespace

// Undecorated names only; the export table lists them sorted.
TEST(FeedbackStandin, ExportsExactlyTheNineEntryPointsAndTheVariantLacksOne)
{
    std::vector<std::string> nine = {"CustomerFeedback", "CustomerFeedbackEx", "FeedbackQuestion",
                                     "GetInterNetState", "GetToolIsNewVersion", "InitFreedbackDll",
                                     "OpenToolDownUrl", "OpenUrl", "WriteCustomerFeedbackInfoFile"};
    EXPECT_EQ(nine, ExportedNames(ProgramFolder() + L"TovarinFeedbackInformation.dll"));

    std::vector<std::string> eight = nine;
    eight.erase(eight.begin() + 6);
    EXPECT_EQ(eight, ExportedNames(ProgramFolder() + L"lacking\\TovarinFeedbackInformation.dll"));
}

TEST(FeedbackStandin, BuildsItsPagesFromTheToolIdentity)
{
    EXPECT_EQ(L"https://feedback.tovarin.example/question?tool=10046&version=1.0.3",
              feedback::FeedbackQuestionPageFor(TOOL_ID, TOOL_VERSION));
    EXPECT_EQ(L"https://feedback.tovarin.example/question?tool=a%20b%26c&version=%E7%89%88%3D1",
              feedback::FeedbackQuestionPageFor(L"a b&c", L"版=1"));
    EXPECT_EQ(L"https://download.tovarin.example/tools/10046", feedback::ToolDownloadPageFor(TOOL_ID));
    EXPECT_EQ(L"https://download.tovarin.example/tools/", feedback::ToolDownloadPageFor(L""));
}

TEST(FeedbackStandin, OpensOnlyWebPages)
{
    for (const wchar_t* page : {kKnowledgeBaseRoot, kKnowledgeBaseArticle, L"HTTP://kb.tovarin.example/a?b=c"}) {
        EXPECT_TRUE(feedback::IsWebPage(page)) << page;
    }
    for (const wchar_t* page : {L"file:///C:/Windows/win.ini", L"https://", L"https:///etc",
                                L"https://kb.tovarin.example/a b", L"mailto:x@tovarin.example", L""}) {
        EXPECT_FALSE(feedback::IsWebPage(page)) << page;
    }
}
