// The repair as a user runs it: a real click on the repair button, the busy pop-up while the
// agent's two commands run, the result prompt, and the log record of a failure.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/log/UnixLink.h"
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/LogRecords.h"
#include "tests/support/Standins.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// The arguments of each agent run, in order.
std::vector<std::string> AgentArguments(const ToolRun& run)
{
    std::vector<std::string> arguments;
    for (const AgentRun& agent : AgentRuns(run.AgentCalls())) {
        arguments.push_back(agent.arguments);
    }
    return arguments;
}

// What one click on the repair button led to.
struct RepairOutcome {
    bool sawBusyPopup = false;
    bool busyGoneAtPrompt = false;
    HWND prompt = nullptr;
};

RepairOutcome ClickRepair(ToolRun& run, HWND panel)
{
    RepairOutcome outcome;
    if (!ClickControl(panel, kPanelMarker)) {
        return outcome;
    }
    WaitUntil(
        [&] {
            outcome.sawBusyPopup = outcome.sawBusyPopup || !run.WindowsWith(kBusyMarker).empty();
            const std::vector<HWND> prompts = run.WindowsWith(kPromptMarker);
            outcome.prompt = prompts.empty() || !PromptReady(prompts.front()) ? nullptr : prompts.front();
            return outcome.prompt != nullptr;
        },
        20000, 5);
    outcome.busyGoneAtPrompt = run.WindowsWith(kBusyMarker).empty();
    return outcome;
}

// The machine-wide log folder moved aside and a link to `decoy` put in its place, as an
// unelevated program could leave it; all put back at the end.
class LogFolderLinkedAway {
public:
    explicit LogFolderLinkedAway(const std::wstring& decoy)
        : m_folder(RepairLogPath().substr(0, RepairLogPath().rfind(L'\\'))),
          m_aside(m_folder + L".aside-" + std::to_wstring(::GetCurrentProcessId())),
          m_moved(::MoveFileW(m_folder.c_str(), m_aside.c_str()) != FALSE),
          m_link(std::make_unique<UnixLink>(m_folder.substr(0, m_folder.rfind(L'\\') + 1), L"ToolLog",
                                            UnixPath(decoy)))
    {
    }
    ~LogFolderLinkedAway()
    {
        m_link.reset();
        if (m_moved) {
            ::MoveFileW(m_aside.c_str(), m_folder.c_str());
        }
    }
    bool Linked() const { return m_link->Made(); }

private:
    // The host's path of a Windows path, as Wine names it (in UTF-8, the harness's locale).
    static std::wstring UnixPath(const std::wstring& path)
    {
        using UnixNameFn = char*(CDECL*)(LPCWSTR);
        const auto unixName = reinterpret_cast<UnixNameFn>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
        char* name = unixName ? unixName(path.c_str()) : nullptr;
        wchar_t wide[MAX_PATH] = {};
        if (name) {
            ::MultiByteToWideChar(CP_UTF8, 0, name, -1, wide, MAX_PATH);
            ::HeapFree(::GetProcessHeap(), 0, name);
        }
        return wide;
    }

    std::wstring m_folder;
    std::wstring m_aside;
    bool m_moved;
    std::unique_ptr<UnixLink> m_link;
};

}  // namespace

TEST(Repair, EachRepairShowsTheBusyPopupThenTheSuccessPromptAndRunsTheAgentTwiceInOrder)
{
    ASSERT_TRUE(FileExists(kAgentPath)) << "the agent stand-in is not installed";
    ToolSession tool(L"repair");
    ASSERT_TRUE(tool->Started()) << tool->Error();
    HWND panel = tool->WaitForPanel();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(WaitForVersionCheck(tool.Run()));

    std::vector<std::string> expected;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("repair " + std::to_string(round));
        const RepairOutcome outcome = ClickRepair(tool.Run(), panel);
        ASSERT_NE(nullptr, outcome.prompt) << "no result prompt";
        EXPECT_TRUE(outcome.sawBusyPopup) << "no busy pop-up while the commands ran";
        EXPECT_TRUE(outcome.busyGoneAtPrompt) << "the busy pop-up is closed before the result shows";
        EXPECT_EQ("修复Quenmar软件名称显示乱码成功！", PromptText(outcome.prompt));

        expected.push_back("/removeproductsstatus");
        expected.push_back("/submitproductsstatus");
        EXPECT_EQ(expected, AgentArguments(tool.Run()));
        EXPECT_TRUE(ConfirmPrompt(outcome.prompt));
        EXPECT_TRUE(tool->Running());
        EXPECT_TRUE(::IsWindowVisible(panel));
    }
}

TEST(Repair, WithoutTheAgentTheFailureIsShownAndLogged)
{
    const std::wstring logPath = RepairLogPath();
    const std::string record = Cp936(kRemoveStep.failedRecord);
    ToolSession tool(L"failing-repair");
    ASSERT_TRUE(tool->Started()) << tool->Error();
    HWND panel = tool->WaitForPanel();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(WaitForVersionCheck(tool.Run()));

    const size_t logSizeBefore = ReadBytes(logPath).size();
    RepairOutcome outcome;
    {
        AgentAway away;
        ASSERT_TRUE(away.Moved()) << "the agent stand-in could not be moved away";
        outcome = ClickRepair(tool.Run(), panel);
    }
    ASSERT_NE(nullptr, outcome.prompt) << "no result prompt";
    EXPECT_TRUE(outcome.busyGoneAtPrompt);
    EXPECT_EQ("修复Quenmar软件名称显示乱码失败！", PromptText(outcome.prompt));
    EXPECT_TRUE(tool->AgentCalls().empty());

    // The record is written once the prompt has been dismissed.
    EXPECT_TRUE(ConfirmPrompt(outcome.prompt));
    std::string added;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::string log = ReadBytes(logPath);
            added = log.size() > logSizeBefore ? log.substr(logSizeBefore) : std::string();
            return added.find(record) != std::string::npos;
        },
        5000, 50))
        << "the log did not gain the failure record (code page 936); added: " << added;

    // With the agent back, the tool repairs again.
    const RepairOutcome again = ClickRepair(tool.Run(), panel);
    ASSERT_NE(nullptr, again.prompt);
    EXPECT_EQ("修复Quenmar软件名称显示乱码成功！", PromptText(again.prompt));
    EXPECT_TRUE(ConfirmPrompt(again.prompt));
}

// With the log folder replaced by a link to another folder, the failure still shows and
// nothing is written through the link.
TEST(Repair, AFailedRepairWritesNothingThroughALinkedLogFolder)
{
    ScratchFolder decoy(ScratchPath(L"decoy"));
    LogFolderLinkedAway linked(decoy.Path());
    ASSERT_TRUE(linked.Linked()) << "the log folder could not be replaced by a link";
    ToolSession tool(L"linked-log");
    ASSERT_TRUE(tool->Started()) << tool->Error();
    HWND panel = tool->WaitForPanel();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(WaitForVersionCheck(tool.Run()));
    RepairOutcome outcome;
    {
        AgentAway away;
        ASSERT_TRUE(away.Moved());
        outcome = ClickRepair(tool.Run(), panel);
    }
    ASSERT_NE(nullptr, outcome.prompt) << "no result prompt";
    EXPECT_EQ("修复Quenmar软件名称显示乱码失败！", PromptText(outcome.prompt));
    // The record is due once the prompt is dismissed; by the tool's end it has been dropped.
    EXPECT_TRUE(ConfirmPrompt(outcome.prompt));
    EXPECT_TRUE(tool->CloseByCloseButton());
    EXPECT_EQ(L"", EntryList(decoy)) << "written through the link";
}
