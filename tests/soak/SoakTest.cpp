// One run of the tool through a hundred cycles of real input, each a repair (confirmed at its
// result prompt) and the agreement bubble shown and hidden again by two clicks on its link.
// Every second repair fails because the agent is out of its place. What the process holds
// is counted from outside after the first and after the hundredth cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tests/soak/ProcessCensus.h"
#include "tests/soak/RepairDriving.h"

using namespace soak;

namespace {

constexpr int kCycles = 100;

// Allowed difference between the counts after the first and after the last cycle. A leak of
// one object per cycle would add 99; a bound of 4 still catches one object every 25 cycles.
// The slack is for what the system, not the tool, opens once and keeps: under Wine the handle
// count rises by one from the first cycle to the second and stays there, because the first
// failed repair is the first to build the log front end, and the system's profile reader
// keeps a handle after the first read of logCfg.ini. Windows likewise fills GDI caches of its
// own (fonts, DCs of windows shown and hidden) when it likes.
constexpr long kHandleSlack = 4;
constexpr long kGdiSlack = 4;
// Windows are created once (the pop-ups are destroyed with their modal run, the bubble is
// kept and only shown and hidden): no slack.
constexpr long kUserSlack = 0;

long Difference(DWORD last, DWORD first)
{
    return static_cast<long>(last) - static_cast<long>(first);
}

// One cycle; the agent is taken away for the failing repairs.
::testing::AssertionResult RunCycle(const ToolRun& run, HWND panel, bool failing, DWORD* peakThreads)
{
    RepairOutcome outcome;
    {
        std::unique_ptr<AgentAway> away;
        if (failing) {
            away = std::make_unique<AgentAway>();
            if (!away->Moved()) {
                return ::testing::AssertionFailure() << "the agent could not be moved away";
            }
        }
        outcome = ClickRepair(run, panel);
    }
    *peakThreads = std::max(*peakThreads, outcome.peakThreads);
    if (!outcome.prompt) {
        return ::testing::AssertionFailure() << "no result prompt" << (outcome.clicked ? "; " : " (not clicked); ")
                                             << DescribePoint(Centre(ControlScreenRect(panel, kPanelMarker)));
    }
    const std::string expected = Utf8(failing ? kTextRepairFailed : kTextRepairSucceeded);
    if (PromptText(outcome.prompt) != expected) {
        const std::string said = PromptText(outcome.prompt);
        const size_t callsThen = run.AgentCalls().size();
        const bool agentThere = FileExists(kAgentPath);
        const size_t logBefore = ReadBytes(RepairLogPath()).size();
        ConfirmPrompt(outcome.prompt);
        ::Sleep(2000);
        const std::vector<std::string> added = RecordsFrom(ReadBytes(RepairLogPath()), logBefore);
        return ::testing::AssertionFailure() << "the prompt says " << said << ", not " << expected << "; the agent is "
                                             << (agentThere ? "" : "not ") << "in place and had run " << callsThen
                                             << " times, " << run.AgentCalls().size() << " times 2 s later; log: "
                                             << (added.empty() ? "(nothing)" : added.back());
    }
    ::testing::AssertionResult confirmed = ConfirmPrompt(outcome.prompt);
    if (!confirmed) {
        return confirmed;
    }
    if (!ClickAgreementLink(run, panel, true)) {
        return ::testing::AssertionFailure() << "the agreement bubble did not show";
    }
    if (!ClickAgreementLink(run, panel, false)) {
        return ::testing::AssertionFailure() << "the agreement bubble did not hide";
    }
    return ::testing::AssertionSuccess();
}

// The worker of the last repair ends once it has written its record; the census waits for it.
Census SettledCensus(const ToolRun& run, DWORD idleThreads)
{
    WaitUntil([&] { return CountThreads(run.ProcessId()) <= idleThreads; }, 5000, 20);
    ::Sleep(200);
    return TakeCensus(run.Process());
}

DWORD WINAPI WaitForEvent(LPVOID event)
{
    ::WaitForSingleObject(event, INFINITE);
    return 0;
}

}  // namespace

// The census itself: each of its counts rises with what this process makes and falls back
// when it is released, so a leak in the tool would show.
TEST(ProcessCensus, EachCountFollowsWhatTheProcessHolds)
{
    // What the system makes on the first window and bitmap of a process stays for its life.
    ::DestroyWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr));
    ::DeleteObject(::CreateBitmap(8, 8, 1, 32, nullptr));
    const Census before = TakeCensus(::GetCurrentProcess());
    ASSERT_TRUE(before.complete) << before.Text();

    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < 10; ++i) {
        bitmaps.push_back(::CreateBitmap(8, 8, 1, 32, nullptr));
    }
    std::vector<HWND> windows;
    for (int i = 0; i < 3; ++i) {
        windows.push_back(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr));
    }
    HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = ::CreateThread(nullptr, 0, &WaitForEvent, stop, 0, nullptr);
    const Census holding = TakeCensus(::GetCurrentProcess());

    for (HBITMAP bitmap : bitmaps) {
        ::DeleteObject(bitmap);
    }
    for (HWND window : windows) {
        ::DestroyWindow(window);
    }
    ::SetEvent(stop);
    ::WaitForSingleObject(thread, 5000);
    ::CloseHandle(thread);
    ::CloseHandle(stop);
    const Census after = TakeCensus(::GetCurrentProcess());

    EXPECT_GE(Difference(holding.gdiObjects, before.gdiObjects), 10) << holding.Text();
    EXPECT_GE(Difference(holding.userObjects, before.userObjects), 3) << holding.Text();
    EXPECT_GE(Difference(holding.handles, before.handles), 2) << holding.Text();
    EXPECT_EQ(before.threads + 1, holding.threads) << holding.Text();
    EXPECT_EQ(before.gdiObjects, after.gdiObjects) << after.Text();
    EXPECT_EQ(before.userObjects, after.userObjects) << after.Text();
    EXPECT_EQ(before.handles, after.handles) << after.Text();
    EXPECT_EQ(before.threads, after.threads) << after.Text();
}

TEST(Soak, AHundredRepairsAndAgreementTogglesLeaveNothingBehind)
{
    ASSERT_TRUE(FileExists(kAgentPath)) << "the agent stand-in is not installed";
    LaunchOptions options;
    // Without output the reader never pauses, which keeps a hundred repairs short.
    options.environment.emplace_back(L"MCUPDATE_STANDIN_MODE", L"quiet");
    ToolSession tool(L"soak", options);
    ASSERT_TRUE(tool->Started()) << tool->Error();
    HWND panel = tool->WaitForPanel();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(WaitForVersionCheck(tool.Run()));
    ::Sleep(300);
    const DWORD idleThreads = CountThreads(tool->ProcessId());
    ASSERT_GT(idleThreads, 0u);

    const std::wstring logPath = RepairLogPath();
    const size_t logStart = ReadBytes(logPath).size();
    const ULONGLONG started = ::GetTickCount64();
    Census first;
    Census last;
    std::string trail;
    DWORD peakThreads = 0;
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        const bool failing = cycle % 2 == 0;
        ASSERT_TRUE(RunCycle(tool.Run(), panel, failing, &peakThreads)) << "cycle " << cycle
                                                                      << (failing ? " (failing)" : "");
        if (cycle <= 2 || cycle % 25 == 0) {
            const Census census = SettledCensus(tool.Run(), idleThreads);
            ASSERT_TRUE(census.complete) << "a count could not be taken: " << census.Text();
            trail += "after cycle " + std::to_string(cycle) + ": " + census.Text() + "\n";
            (cycle == 1 ? first : last) = census;
        }
    }
    const ULONGLONG elapsed = ::GetTickCount64() - started;
    std::cout << trail << kCycles << " cycles in " << elapsed << " ms" << std::endl;

    // The count sees the repair's threads come and go.
    EXPECT_GT(peakThreads, idleThreads) << "no repair thread was ever counted";
    EXPECT_EQ(idleThreads, first.threads) << "a thread of the first cycle is left over\n" << trail;
    EXPECT_EQ(idleThreads, last.threads) << "threads are left over\n" << trail;
    EXPECT_LE(std::abs(Difference(last.handles, first.handles)), kHandleSlack) << trail;
    EXPECT_LE(std::abs(Difference(last.gdiObjects, first.gdiObjects)), kGdiSlack) << trail;
    EXPECT_LE(std::abs(Difference(last.userObjects, first.userObjects)), kUserSlack) << trail;
    if (!last.fromGuiResources) {
        // Wine answers nothing through GetGuiResources; the table and window counts stand in.
        EXPECT_EQ(0u, ::GetGuiResources(tool->Process(), GR_GDIOBJECTS));
    }

    // Each succeeded repair ran both commands, in order, and each failed one none: no repair
    // started twice or went missing.
    const std::vector<std::string> calls = tool->AgentCalls();
    ASSERT_EQ(static_cast<size_t>(kCycles), calls.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(i % 2 == 0 ? "/removeproductsstatus" : "/submitproductsstatus", Fields(calls[i]).back()) << i;
    }

    // Exactly one record per failed repair, each whole and stamped, and nothing else.
    const std::string record = Cp936(kRemoveStep.failedRecord);
    std::vector<std::string> records;
    WaitUntil(
        [&] {
            records = RecordsFrom(ReadBytes(logPath), logStart);
            return records.size() >= static_cast<size_t>(kCycles / 2);
        },
        5000, 50);
    ASSERT_EQ(static_cast<size_t>(kCycles / 2), records.size());
    for (const std::string& line : records) {
        EXPECT_TRUE(HasStamp(line)) << line;
        EXPECT_EQ(record, line.substr(std::min(kStampLength, line.size())));
    }
    EXPECT_TRUE(tool->Running());
}
