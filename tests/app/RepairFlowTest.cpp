// The repair as a user runs it: a real click on the repair button, the busy pop-up while the
// agent's two commands run, the result prompt, and the log record of a failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    const std::string record = Cp936(kRemoveFailedRecord);
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
