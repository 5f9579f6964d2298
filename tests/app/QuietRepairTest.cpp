// The unattended repair as a deployment tool runs it: Veskar.exe /quiet shows no window, ends
// with its exit code, runs the agent as the button would, logs a failure, never calls the
// feedback library and never removes the tool's files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/LogRecords.h"
#include "tests/support/Standins.h"
#include "tests/support/Text.h"
#include "tests/support/Tool.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

struct QuietRun {
    DWORD exitCode = 0xFFFFFFFF;
    bool ended = false;
    bool windowSeen = false;
    std::vector<std::string> agentRuns;
    std::vector<std::string> libraryCalls;
    std::wstring filesAfter;
};

// Runs the tool with `arguments` to its end, watching that it never shows a window.
QuietRun RunToTheEnd(const std::vector<std::wstring>& arguments, LaunchOptions options = {})
{
    options.arguments = arguments;
    options.environment.emplace_back(L"MCUPDATE_STANDIN_MODE", L"quiet");
    ToolSession tool(L"quiet", options);
    QuietRun run;
    if (!tool->Started()) {
        ADD_FAILURE() << tool->Error();
        return run;
    }
    run.ended = WaitUntil(
        [&] {
            run.windowSeen = run.windowSeen || !VisibleWindows(tool->ProcessId()).empty();
            return !tool->Running();
        },
        30000, 5);
    tool->WaitForExit(0, &run.exitCode);
    run.agentRuns = tool->AgentCalls();
    run.libraryCalls = tool->FeedbackCalls();
    run.filesAfter = EntryList(tool.Folder());
    return run;
}

TEST(QuietRepair, RepairsWithoutAWindowAndEndsWithZero)
{
    const size_t logBefore = ReadBytes(RepairLogPath()).size();
    // The executable alone is enough: the library is never called.
    LaunchOptions alone;
    alone.library = Library::Missing;
    const QuietRun run = RunToTheEnd({L"/quiet"}, alone);
    ASSERT_TRUE(run.ended) << "the unattended repair did not end";
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_FALSE(run.windowSeen) << "a window showed";
    ASSERT_EQ(2u, run.agentRuns.size());
    EXPECT_EQ("/removeproductsstatus", Fields(run.agentRuns[0]).back());
    EXPECT_EQ("/submitproductsstatus", Fields(run.agentRuns[1]).back());
    EXPECT_TRUE(RecordsFrom(ReadBytes(RepairLogPath()), logBefore).empty());
    EXPECT_EQ(L"Veskar.exe", run.filesAfter) << "the tool's files were touched";
}

TEST(QuietRepair, AMissingAgentEndsWithOneAndItsRecord)
{
    const size_t logBefore = ReadBytes(RepairLogPath()).size();
    QuietRun run;
    {
        AgentAway away;
        ASSERT_TRUE(away.Moved());
        run = RunToTheEnd({L"-Q"});
    }
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_FALSE(run.windowSeen);
    EXPECT_TRUE(run.agentRuns.empty());
    EXPECT_TRUE(run.libraryCalls.empty()) << "the feedback library was called";
    const std::vector<std::string> records = RecordsFrom(ReadBytes(RepairLogPath()), logBefore);
    ASSERT_EQ(1u, records.size());
    EXPECT_TRUE(HasStamp(records[0]));
    EXPECT_EQ(Cp936(kRemoveStep.failedRecord), records[0].substr(kStampLength));
    EXPECT_EQ(ToolFileList(), run.filesAfter);
}

TEST(QuietRepair, RefusalsHaveTheirOwnExitCodes)
{
    LaunchOptions windows7;
    windows7.windowsVersion = L"win7";
    const QuietRun oldSystem = RunToTheEnd({L"/quiet"}, windows7);
    ASSERT_TRUE(oldSystem.ended);
    EXPECT_EQ(2u, oldSystem.exitCode);
    EXPECT_FALSE(oldSystem.windowSeen);
    EXPECT_TRUE(oldSystem.agentRuns.empty());

    const QuietRun unknown = RunToTheEnd({L"/force"});
    ASSERT_TRUE(unknown.ended);
    EXPECT_EQ(4u, unknown.exitCode);
    EXPECT_FALSE(unknown.windowSeen);
    EXPECT_TRUE(unknown.agentRuns.empty());
    EXPECT_TRUE(unknown.libraryCalls.empty());

    // While a copy runs with its window, the unattended one does nothing.
    ToolSession running(L"quiet-beside");
    std::string why;
    ASSERT_NE(nullptr, WaitForIdlePanel(running, why)) << why;
    const QuietRun beside = RunToTheEnd({L"/q"});
    ASSERT_TRUE(beside.ended);
    EXPECT_EQ(3u, beside.exitCode);
    EXPECT_FALSE(beside.windowSeen);
    EXPECT_TRUE(beside.agentRuns.empty());
    EXPECT_TRUE(running->AgentCalls().empty());
    EXPECT_TRUE(running->Running());
}

}  // namespace
