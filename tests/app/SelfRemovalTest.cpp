// Closing the tool by its close button removes the tool's own files, and its folder only
// when nothing else is left in it; a folder whose path the command interpreter would expand
// is not touched. The tools are closed one after the other and their removals awaited
// together.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// The removal tries the executable once a second until the ended tool has released it; the
// interpreter takes a moment to start.
constexpr DWORD kRemovalBoundMs = 8000;
// A folder left alone for this long after its tool closed is not going to be touched.
constexpr DWORD kLeftAloneMs = 5000;

struct Case {
    const char* name;
    std::wstring label;
    const char* userFile;             // written into the folder before the tool starts, or null
    std::wstring expectedEntries;     // what is left; "(gone)" for a removed folder
};

struct Closed {
    const Case* what;
    std::unique_ptr<ToolSession> tool;
    ULONGLONG closedAt = 0;
};

std::wstring Left(ToolSession& tool)
{
    return FolderExists(tool.Folder().Path()) ? EntryList(tool.Folder()) : L"(gone)";
}

}  // namespace

TEST(SelfRemoval, ClosingRemovesTheToolsFilesAndOnlyAFolderLeftEmpty)
{
    const std::vector<Case> cases = {
        // First, so that it has had the longest time to be touched when it is checked.
        {"a path with %", L"tool %CD% copy", nullptr, ToolFileList()},
        {"only the tool's files", L"only-tool-files", nullptr, L"(gone)"},
        {"a path with blanks", L"Veskar tool 1.0.3", nullptr, L"(gone)"},
        {"a path with & and brackets", L"R&D (copy)", nullptr, L"(gone)"},
        {"a file of the user's", L"with-user-file", "the user's notes\r\n", L"notes.txt"},
    };

    std::vector<Closed> closed;
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        auto tool = std::make_unique<ToolSession>(each.label, LaunchOptions{}, [&each](const ScratchFolder& folder) {
            if (each.userFile) {
                folder.WriteText(L"notes.txt", each.userFile);
            }
        });
        ASSERT_TRUE((*tool)->Started()) << (*tool)->Error();
        if (each.userFile) {
            ASSERT_TRUE(FileExists(tool->Folder().File(L"notes.txt")));
        }
        ASSERT_NE(nullptr, (*tool)->WaitForPanel());
        ASSERT_TRUE(WaitForVersionCheck(tool->Run()));
        ASSERT_TRUE((*tool)->CloseByCloseButton()) << "the tool did not end after its close button";
        closed.push_back({&each, std::move(tool), ::GetTickCount64()});
    }

    // All removals run at the same time: wait for the expected state of every folder.
    auto settled = [&] {
        for (Closed& c : closed) {
            if (Left(*c.tool) != c.what->expectedEntries) {
                return false;
            }
        }
        return true;
    };
    WaitUntil(settled, kRemovalBoundMs, 100);
    const ULONGLONG firstClosed = closed.front().closedAt;
    const ULONGLONG now = ::GetTickCount64();
    if (now < firstClosed + kLeftAloneMs) {
        ::Sleep(static_cast<DWORD>(firstClosed + kLeftAloneMs - now));
    }
    for (Closed& c : closed) {
        EXPECT_EQ(Utf8(c.what->expectedEntries), Utf8(Left(*c.tool)))
            << c.what->name << ": " << Utf8(c.tool->Folder().Path());
    }
}
