// The tool's start-up, run as a whole program: which systems it accepts, what a feedback
// library that cannot be bound or initialised does, and the newer-version notice. Every way
// out of the start-up ends the process with exit code 0 and leaves the tool's folder alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/support/Geometry.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// Longer than the removal's own three-second pause plus the interpreter's start: a folder
// still whole after this was not going to be removed.
constexpr DWORD kRemovalWindowMs = 4500;

struct EndedRun {
    std::unique_ptr<ToolSession> session;
    std::wstring entries;  // what the folder held when the tool started
    ULONGLONG endedAt = 0;
};

// Waits until every run ended at least the removal window ago, then checks that each folder
// still holds what it held when the tool started.
void ExpectFoldersKept(std::vector<EndedRun>& runs)
{
    ULONGLONG last = 0;
    for (const EndedRun& run : runs) {
        last = std::max(last, run.endedAt);
    }
    const ULONGLONG now = ::GetTickCount64();
    if (now < last + kRemovalWindowMs) {
        ::Sleep(static_cast<DWORD>(last + kRemovalWindowMs - now));
    }
    for (EndedRun& run : runs) {
        EXPECT_EQ(Utf8(run.entries), Utf8(EntryList(run.session->Folder())))
            << "the tool's folder must stay after a start-up failure: " << Utf8(run.session->Folder().Path());
    }
}

// Confirms the start-up prompt and waits for the process to end; its exit code.
DWORD ConfirmAndWaitForExit(ToolSession& tool, HWND prompt)
{
    EXPECT_TRUE(ConfirmPrompt(prompt));
    DWORD code = 0xDEAD;
    EXPECT_TRUE(tool->WaitForExit(10000, &code)) << "the tool did not end after its start-up prompt";
    return code;
}

}  // namespace

TEST(Startup, OnlyWindows10IsAccepted)
{
    struct Refused {
        const wchar_t* version;
        const char* name;
    };
    std::vector<EndedRun> runs;
    for (const Refused& refused : {Refused{L"win7", "6.1"}, Refused{L"win81", "6.3"}}) {
        SCOPED_TRACE(std::string("Windows ") + refused.name);
        LaunchOptions options;
        options.windowsVersion = refused.version;
        auto tool = std::make_unique<ToolSession>(L"refused", options);
        ASSERT_TRUE((*tool)->Started()) << (*tool)->Error();
        const std::wstring entries = EntryList((*tool).Folder());

        HWND prompt = (*tool)->WaitForPrompt();
        ASSERT_NE(nullptr, prompt) << "no prompt on an unsupported system";
        EXPECT_EQ("此工具不支持当前系统", PromptText(prompt));
        EXPECT_TRUE((*tool)->WindowsWith(kPanelMarker).empty()) << "the panel must not show";
        EXPECT_EQ(0u, ConfirmAndWaitForExit(*tool, prompt));
        EXPECT_TRUE((*tool)->FeedbackCalls().empty()) << "the library must not be used before the system check";
        runs.push_back({std::move(tool), entries, ::GetTickCount64()});
    }

    ToolSession accepted(L"accepted");
    ASSERT_TRUE(accepted->Started()) << accepted->Error();
    ASSERT_NE(nullptr, accepted->WaitForPanel()) << "Windows 10.0 must be accepted";
    EXPECT_TRUE(WaitForVersionCheck(accepted.Run()));
    const std::vector<std::string> calls = accepted->FeedbackCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ("InitFreedbackDll", calls[0]);
    EXPECT_EQ("GetToolIsNewVersion\t10046\t1.0.3", calls[1]);
    EXPECT_TRUE(accepted->WindowsWith(kPromptMarker).empty()) << "an up-to-date tool shows no prompt";

    ExpectFoldersKept(runs);
}

TEST(Startup, AFeedbackLibraryThatCannotBeBoundOrInitialisedEndsTheTool)
{
    struct BrokenLibrary {
        const char* name;
        Library library;
        const wchar_t* initAnswer;  // VESKAR_FEEDBACK_INIT, or none
        std::vector<std::string> expectedCalls;
    };
    const BrokenLibrary cases[] = {
        {"missing", Library::Missing, nullptr, {}},
        {"lacking OpenToolDownUrl", Library::Lacking, nullptr, {}},
        {"initialising with 0", Library::Standin, L"0", {"InitFreedbackDll"}},
    };
    std::vector<EndedRun> runs;
    for (const BrokenLibrary& broken : cases) {
        SCOPED_TRACE(std::string("library ") + broken.name);
        LaunchOptions options;
        options.library = broken.library;
        if (broken.initAnswer) {
            options.environment.emplace_back(L"VESKAR_FEEDBACK_INIT", broken.initAnswer);
        }
        auto tool = std::make_unique<ToolSession>(L"broken-library", options);
        ASSERT_TRUE((*tool)->Started()) << (*tool)->Error();
        const std::wstring entries = EntryList((*tool).Folder());

        HWND prompt = (*tool)->WaitForPrompt();
        ASSERT_NE(nullptr, prompt) << "no prompt for a library that cannot be used";
        EXPECT_EQ("工具初始化失败", PromptText(prompt));
        EXPECT_TRUE((*tool)->WindowsWith(kPanelMarker).empty()) << "the panel must not show";
        EXPECT_EQ(0u, ConfirmAndWaitForExit(*tool, prompt));
        EXPECT_EQ(broken.expectedCalls, (*tool)->FeedbackCalls());
        runs.push_back({std::move(tool), entries, ::GetTickCount64()});
    }
    ExpectFoldersKept(runs);
}

TEST(Startup, ANewerVersionIsAnnouncedOverThePanelThenTheDownloadPageOpens)
{
    LaunchOptions options;
    options.environment.emplace_back(L"VESKAR_FEEDBACK_NEW_VERSION", L"3");
    auto tool = std::make_unique<ToolSession>(L"newer-version", options);
    ASSERT_TRUE((*tool)->Started()) << (*tool)->Error();
    const std::wstring entries = EntryList((*tool).Folder());

    HWND prompt = (*tool)->WaitForPrompt();
    ASSERT_NE(nullptr, prompt) << "no new-version prompt";
    EXPECT_EQ("检测到当前工具有新的版本更新，请下载最新版本使用。", PromptText(prompt));

    const std::vector<HWND> panels = (*tool)->WindowsWith(kPanelMarker);
    ASSERT_EQ(1u, panels.size()) << "the panel must be visible under the prompt";
    const RECT panel = WindowScreenRect(panels.front());
    const POINT middle = Centre(WindowScreenRect(prompt));
    EXPECT_TRUE(::PtInRect(&panel, middle)) << "the prompt lies over the panel";
    // The prompt's picture frame and its content both belong to the prompt; the window order
    // may settle a moment after the content shows.
    HWND promptFrame = ::GetWindow(prompt, GW_OWNER);
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND top = ::GetAncestor(::WindowFromPoint(middle), GA_ROOT);
            return top == prompt || (promptFrame && top == promptFrame);
        },
        2000, 20))
        << "the prompt is above the panel";
    EXPECT_EQ(0, CountCalls((*tool).Run(), "OpenToolDownUrl")) << "the download page opens after the prompt";

    EXPECT_EQ(0u, ConfirmAndWaitForExit(*tool, prompt));
    const std::vector<std::string> calls = (*tool)->FeedbackCalls();
    const std::vector<std::string> expected = {"InitFreedbackDll", "GetToolIsNewVersion\t10046\t1.0.3",
                                               "OpenToolDownUrl"};
    EXPECT_EQ(expected, calls);

    std::vector<EndedRun> runs;
    runs.push_back({std::move(tool), entries, ::GetTickCount64()});
    ExpectFoldersKept(runs);
}
