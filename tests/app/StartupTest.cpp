// The tool's start-up, run as a whole program: which systems it accepts, what a feedback
// library that cannot be bound or initialised does, and the newer-version notice. Every way
// out of the start-up ends the process with exit code 0 and leaves the tool's folder alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// Longer than the removal takes once a tool has ended (its first tries a second apart, plus
// the interpreter's start): a folder still whole after this was not going to be removed.
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

// The loader trace's lines ("Loaded L"<path>" at <address>: native|builtin") naming a library.
std::vector<std::string> LoaderLines(const std::string& trace, const std::string& library)
{
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        std::string lower = line;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower.find(":loaddll:") != std::string::npos && lower.find("\\\\" + library + "\"") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
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

// A second start while the tool runs loads nothing, starts nothing, removes nothing and ends at
// once with exit code 0; the running tool comes back from being minimised.
TEST(Startup, ASecondStartBringsTheRunningToolBackAndEnds)
{
    ToolSession first(L"first");
    std::string why;
    HWND panel = WaitForIdlePanel(first, why);
    ASSERT_NE(nullptr, panel) << why;
    HWND frame = first->Frame(panel);
    ::PostMessageW(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(frame) != FALSE; }, 5000));
    const size_t firstCalls = first->FeedbackCalls().size();

    ToolSession second(L"second");
    ASSERT_TRUE(second->Started()) << second->Error();
    DWORD exitCode = 1;
    ASSERT_TRUE(second->WaitForExit(10000, &exitCode)) << "the second start did not end";
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(second->FeedbackCalls().empty()) << "the second start used the feedback library";
    EXPECT_TRUE(second->AgentCalls().empty());
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(frame); }, 5000)) << "the running tool was not brought back";
    EXPECT_TRUE(first->Running());
    EXPECT_EQ(firstCalls, first->FeedbackCalls().size());
    // A removal would have begun at once and gone within a few seconds.
    ::Sleep(3000);
    EXPECT_EQ(ToolFileList(), EntryList(second.Folder()));
}

// Libraries planted beside the tool, as a download folder may hold them, with Wine told to
// prefer such copies as Windows would: the loader's trace shows none of them taken for GDI+ or
// the rich edit control, and the tool starts and repairs.
TEST(Startup, LibrariesPlantedBesideTheToolAreNotTakenForTheSystems)
{
    const std::wstring planted = BesideProgram(L"..\\..\\standins\\planted.dll");
    ScratchFolder traceFolder(ScratchPath(L"trace"));
    LaunchOptions options;
    options.wineTraceFile = traceFolder.File(L"loader.txt");
    wchar_t overrides[512] = {};
    ::GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 512);
    options.environment = {{L"WINEDEBUG", L"+loaddll"},
                           {L"WINEDLLOVERRIDES", std::wstring(overrides) + L";gdiplus,riched20,msftedit,shell32=n,b"}};
    ToolSession tool(L"planted", options, [&planted](const ScratchFolder& folder) {
        for (const wchar_t* name :
             {L"gdiplus.dll", L"riched20.dll", L"msftedit.dll", L"shell32.dll", L"uxtheme.dll", L"dwmapi.dll"}) {
            folder.CopyIn(planted, name);
        }
    });
    ASSERT_TRUE(tool->Started()) << tool->Error();
    HWND panel = tool->WaitForPanel();
    ASSERT_NE(nullptr, panel) << "the tool did not start beside the planted libraries";
    ASSERT_TRUE(WaitForVersionCheck(tool.Run()));
    // The rich edit library is loaded with the agreement bubble: shown once, then hidden by a
    // click on the desktop, far from the tool.
    ASSERT_TRUE(ClickControl(panel, IDC_AGREEMENT_LINK));
    ASSERT_NE(nullptr, tool->WaitForWindowWith(kAgreementMarker, 5000)) << "the agreement bubble did not show";
    ASSERT_TRUE(ClickAt(POINT{20, 20}));
    ASSERT_TRUE(WaitUntil([&] { return tool->WindowsWith(kAgreementMarker).empty(); }, 5000))
        << "the agreement bubble did not hide";
    ASSERT_TRUE(WaitForPanelPainted(panel));
    ASSERT_TRUE(ClickControl(panel, kPanelMarker));
    HWND prompt = tool->WaitForPrompt(20000);
    ASSERT_NE(nullptr, prompt);
    EXPECT_EQ("修复Quenmar软件名称显示乱码成功！", PromptText(prompt));

    const std::string trace = ReadBytes(options.wineTraceFile);
    // The trace shows what was taken from the tool's folder: the feedback library, natively.
    const std::vector<std::string> library = LoaderLines(trace, "tovarinfeedbackinformation.dll");
    ASSERT_EQ(1u, library.size()) << trace;
    EXPECT_NE(std::string::npos, library[0].find(": native")) << library[0];
    for (const char* system : {"gdiplus.dll", "riched20.dll", "msftedit.dll", "shell32.dll"}) {
        SCOPED_TRACE(system);
        for (const std::string& line : LoaderLines(trace, system)) {
            EXPECT_NE(std::string::npos, line.find("\\\\windows\\\\system32\\\\")) << line;
            EXPECT_EQ(std::string::npos, line.find(": native")) << line;
        }
    }
    EXPECT_EQ(1u, LoaderLines(trace, "gdiplus.dll").size()) << "GDI+ comes from the system folder, once";
    EXPECT_EQ(1u, LoaderLines(trace, "riched20.dll").size()) << "so does the rich edit library";
    // The shell's library is bound at its first call (the repair finds the agent through it);
    // the programs the repair starts load it too, all from the system folder (checked above).
    EXPECT_FALSE(LoaderLines(trace, "shell32.dll").empty()) << trace;
}
