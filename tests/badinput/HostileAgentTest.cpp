// The agent at its worst, seen from outside the running tool: a megabyte of binary output, no
// output at all, and a command that never ends. The tool must drain what comes, stay
// responsive under its busy pop-up, and show the result the repair earned.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "tests/soak/RepairDriving.h"
#include "tests/support/WindowQueries.h"

using namespace soak;

namespace {

// A started tool with its panel laid out and the version check done.
struct StartedTool {
    explicit StartedTool(const wchar_t* agentMode) : session(L"hostile-agent", Options(agentMode)) {}
    static LaunchOptions Options(const wchar_t* agentMode)
    {
        LaunchOptions options;
        options.environment.emplace_back(L"MCUPDATE_STANDIN_MODE", agentMode);
        return options;
    }
    ::testing::AssertionResult Ready()
    {
        std::string why;
        panel = WaitForIdlePanel(session, why);
        return panel ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << why;
    }
    ToolSession session;
    HWND panel = nullptr;
};

}  // namespace

// The first command writes 1 MiB of binary bytes, the second nothing. The reader takes at
// most 4095 bytes at a time and pauses after each piece, so draining takes a good two
// minutes; the busy pop-up stays, and the tool answers throughout.
TEST(HostileAgent, AMegabyteOfBinaryOutputThenNothingIsDrainedAndTheRepairSucceeds)
{
    StartedTool tool(L"/removeproductsstatus:binary,quiet");
    ASSERT_TRUE(tool.Ready());
    const ToolRun& run = tool.session.Run();
    ASSERT_TRUE(ClickControl(tool.panel, kPanelMarker));
    HWND busy = run.WaitForWindowWith(kBusyMarker, 5000);
    ASSERT_NE(nullptr, busy) << "no busy pop-up";

    // A window counts as answering within 5 s: a thread that waits on the pipe misses every
    // check of a two-minute drain, while two busy cores can hold a live one back a second.
    int checks = 0;
    int unanswered = 0;
    ULONGLONG slowest = 0;
    int busyGone = 0;
    HWND prompt = nullptr;
    const ULONGLONG started = ::GetTickCount64();
    WaitUntil(
        [&] {
            const std::vector<HWND> prompts = run.WindowsWith(kPromptMarker);
            prompt = prompts.empty() || !PromptReady(prompts.front()) ? nullptr : prompts.front();
            if (prompt || !run.Running()) {
                return true;
            }
            ++checks;
            // Between the end of the drain and a ready prompt the busy pop-up is already gone;
            // a window that no longer exists is counted there, not as one that did not answer.
            const bool busyShown = ::IsWindowVisible(busy);
            busyGone += busyShown ? 0 : 1;
            for (HWND window : {busy, tool.panel, run.Frame(tool.panel)}) {
                if (window == busy && !busyShown) {
                    continue;
                }
                const ULONGLONG asked = ::GetTickCount64();
                unanswered += Answers(window, 5000) ? 0 : 1;
                slowest = std::max(slowest, ::GetTickCount64() - asked);
            }
            return false;
        },
        240000, 1000);
    std::cout << "drained in " << (::GetTickCount64() - started) << " ms; slowest answer " << slowest << " ms"
              << std::endl;

    ASSERT_TRUE(run.Running()) << "the tool ended";
    ASSERT_NE(nullptr, prompt) << "no result prompt within four minutes";
    EXPECT_GT(checks, 10);
    EXPECT_EQ(0, unanswered) << "of " << checks << " checks of three windows";
    EXPECT_LE(busyGone, 1) << "the busy pop-up left before the drain ended";
    EXPECT_EQ(Utf8(kTextRepairSucceeded), PromptText(prompt));

    const std::vector<AgentRun> agents = AgentRuns(run.AgentCalls());
    ASSERT_EQ(2u, agents.size());
    EXPECT_EQ("/removeproductsstatus", agents[0].arguments);
    EXPECT_EQ("/submitproductsstatus", agents[1].arguments);
    // The writer of the megabyte could end only because every byte was read.
    EXPECT_TRUE(ProcessEnded(agents[0].pid, 0));
    EXPECT_TRUE(ConfirmPrompt(prompt));
    EXPECT_TRUE(run.Running());
}

// The bound on a command is ten minutes; within the few seconds watched here the busy pop-up
// stays, no result shows, the agent is left running, and every window of the tool answers.
TEST(HostileAgent, ACommandThatNeverEndsLeavesTheToolResponsiveUnderTheBusyPopup)
{
    StartedTool tool(L"hang");
    ASSERT_TRUE(tool.Ready());
    ToolRun& run = tool.session.Run();
    const size_t logBefore = ReadBytes(RepairLogPath()).size();
    ASSERT_TRUE(ClickControl(tool.panel, kPanelMarker));
    HWND busy = run.WaitForWindowWith(kBusyMarker, 5000);
    ASSERT_NE(nullptr, busy) << "no busy pop-up";
    ASSERT_TRUE(WaitUntil([&] { return !run.AgentCalls().empty(); }, 5000)) << "the agent did not start";

    int checks = 0;
    int unanswered = 0;
    const ULONGLONG until = ::GetTickCount64() + 5000;
    while (::GetTickCount64() < until) {
        ++checks;
        for (HWND window : {busy, tool.panel, run.Frame(tool.panel)}) {
            unanswered += Answers(window) ? 0 : 1;
        }
        EXPECT_TRUE(::IsWindowVisible(busy));
        ::Sleep(250);
    }
    EXPECT_EQ(0, unanswered) << "of " << checks << " checks of three windows";
    EXPECT_TRUE(run.WindowsWith(kPromptMarker).empty()) << "a result showed while the command ran";
    const std::vector<AgentRun> agents = AgentRuns(run.AgentCalls());
    ASSERT_EQ(1u, agents.size()) << "the second command ran before the first ended";
    EXPECT_FALSE(ProcessEnded(agents[0].pid, 0)) << "the command was ended long before its bound";
    EXPECT_EQ(logBefore, ReadBytes(RepairLogPath()).size()) << "a record was written while the command ran";

    run.Kill();
    EXPECT_GE(EndAgentProcesses(run), 1);
}
