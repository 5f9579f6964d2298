// The repair against a test window: the messages, their order and parameters, the log line
// written only after the result handler returned, and the agent's invocations.
#include <gtest/gtest.h>

#include <functional>

#include "app/Messages.h"
#include "repair/CRepairTask.h"
#include "tests/support/Files.h"
#include "tests/support/LogRecords.h"
#include "tests/support/Standins.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

constexpr DWORD kShortBoundMs = 4000;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool sent;           // by SendMessage from another thread, not posted
    uint64_t logLength;  // the repair log's length while the handler ran
};

// A window that records what the repair sends it.
class NotifyWindow {
public:
    NotifyWindow()
    {
        static const wchar_t kClass[] = L"VeskarRepairTestWindow";
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &NotifyWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~NotifyWindow() { ::DestroyWindow(m_hwnd); }
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    std::vector<Received> received;
    bool resultHandled = false;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<NotifyWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && (message == WM_CLOSE_PROGRESS || message == WM_REPAIR_RESULT)) {
            const bool sent = (::InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
            self->received.push_back({message, wParam, lParam, sent, RepairLogLength()});
            if (message == WM_REPAIR_RESULT) {
                ::Sleep(200);  // a worker that did not wait would write its line now
                self->resultHandled = true;
            }
            return 1;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

public:
    static uint64_t RepairLogLength() { return FileSize(RepairLogPath()); }

private:
    HWND m_hwnd = nullptr;
};

// Runs the work on a thread of its own while this thread handles the messages sent to it.
void RunWhilePumping(const std::function<void()>& work)
{
    struct Job {
        const std::function<void()>* work;
    } job{&work};
    const HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID param) -> DWORD {
            (*static_cast<Job*>(param)->work)();
            return 0;
        },
        &job, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    PumpUntil([thread] { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 60000);
    ::CloseHandle(thread);
}

class RepairTask : public ::testing::Test {
protected:
    // Runs DoRepair on a worker; returns its result.
    bool Repair(CRepairTask& task)
    {
        logBefore = NotifyWindow::RepairLogLength();
        EXPECT_TRUE(task.SetNotifyWindow(window.Handle()));
        bool result = false;
        RunWhilePumping([&] { result = task.DoRepair(); });
        return result;
    }
    // The close message, then the result, both sent, while the log was still as before.
    void ExpectMessages(WPARAM result)
    {
        ASSERT_EQ(window.received.size(), 2u);
        EXPECT_EQ(window.received[0].message, WM_CLOSE_PROGRESS);
        EXPECT_EQ(window.received[0].wParam, 0u);
        EXPECT_EQ(window.received[0].lParam, 0);
        EXPECT_EQ(window.received[1].message, WM_REPAIR_RESULT);
        EXPECT_EQ(window.received[1].wParam, result);
        EXPECT_EQ(window.received[1].lParam, 0);
        for (const Received& r : window.received) {
            EXPECT_TRUE(r.sent);
            EXPECT_EQ(r.logLength, logBefore);
        }
    }
    // The records the repair added to its log.
    std::vector<std::string> NewLogRecords() const { return RecordsFrom(ReadBytes(RepairLogPath()), logBefore); }
    std::vector<std::string> AgentArguments() const
    {
        std::vector<std::string> arguments;
        for (const AgentRun& entry : agent.Journal()) {
            EXPECT_EQ(entry.program, "McUpdate.exe");
            arguments.push_back(entry.arguments);
        }
        return arguments;
    }

    AgentSession agent;
    NotifyWindow window;
    uint64_t logBefore = 0;
};

const std::vector<std::string> kBothCommands = {"/removeproductsstatus", "/submitproductsstatus"};

TEST_F(RepairTask, BothCommandsRunReportsSuccessAndLogsNothing)
{
    agent.SetMode(nullptr);  // the stand-in's default: a few lines each
    CRepairTask task;
    EXPECT_TRUE(Repair(task));
    ExpectMessages(kRepairSucceeded);
    EXPECT_EQ(AgentArguments(), kBothCommands);
    EXPECT_EQ(NotifyWindow::RepairLogLength(), logBefore);
}

TEST_F(RepairTask, FirstCommandOverTheBoundFailsAndSkipsTheSecond)
{
    agent.SetMode(L"hang");
    CRepairTask task(kShortBoundMs);
    EXPECT_FALSE(Repair(task));
    ExpectMessages(kRepairFailed);
    EXPECT_EQ(AgentArguments(), std::vector<std::string>{"/removeproductsstatus"});
    const std::vector<std::string> records = NewLogRecords();
    ASSERT_EQ(records.size(), 1u);
    ASSERT_TRUE(HasStamp(records[0]));
    EXPECT_EQ(records[0].substr(kStampLength), kGbkRemoveFailed);
}

TEST_F(RepairTask, SecondCommandOverTheBoundFails)
{
    agent.SetMode(L"/submitproductsstatus:hang,quiet");
    CRepairTask task(kShortBoundMs);
    EXPECT_FALSE(Repair(task));
    ExpectMessages(kRepairFailed);
    EXPECT_EQ(AgentArguments(), kBothCommands);
    const std::vector<std::string> records = NewLogRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].substr(kStampLength), kGbkSubmitFailed);
}

TEST_F(RepairTask, MissingAgentIsAFailure)
{
    CRepairTask task;
    bool result = true;
    {
        AgentAway away;
        ASSERT_TRUE(away.Moved());
        result = Repair(task);
    }

    EXPECT_FALSE(result);
    ExpectMessages(kRepairFailed);
    const std::vector<std::string> records = NewLogRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].substr(kStampLength), kGbkRemoveFailed);
}

TEST_F(RepairTask, PlantedInterpreterNeverRuns)
{
    PlantedInterpreter besideProgram(ProgramFolder());
    ASSERT_TRUE(besideProgram.Planted());
    CRepairTask task;
    EXPECT_TRUE(Repair(task));
    ExpectMessages(kRepairSucceeded);
    EXPECT_EQ(AgentArguments(), kBothCommands);  // and no entry from a cmd.exe
}

// One repair at a time: a start while the worker runs is refused, and the next start is
// taken once the worker has finished.
TEST_F(RepairTask, StartRepairRunsOnAWorkerOfItsOwnOneAtATime)
{
    CRepairTask task;
    EXPECT_FALSE(task.SetNotifyWindow(nullptr));
    ASSERT_TRUE(task.SetNotifyWindow(window.Handle()));
    logBefore = NotifyWindow::RepairLogLength();
    EXPECT_FALSE(task.IsRunning());
    ASSERT_TRUE(task.StartRepair());
    EXPECT_TRUE(task.IsRunning());
    EXPECT_FALSE(task.StartRepair()) << "a second repair started while the first ran";
    ASSERT_TRUE(PumpUntil([&] { return window.resultHandled && !task.IsRunning(); }, 60000));
    ExpectMessages(kRepairSucceeded);
    EXPECT_EQ(AgentArguments(), kBothCommands);

    window.received.clear();
    window.resultHandled = false;
    ASSERT_TRUE(task.StartRepair());
    ASSERT_TRUE(PumpUntil([&] { return window.resultHandled && !task.IsRunning(); }, 60000));
    EXPECT_EQ(AgentArguments().size(), 2 * kBothCommands.size());
}

// The window goes while the worker waits for a command: nothing is sent to it any more; the
// worker is waited for within the bound, and its record is written only when it finished
// within it (an abandoned worker must not write into a log that goes at process exit).
TEST_F(RepairTask, DetachWaitsForTheWorkerWithinItsBound)
{
    agent.SetMode(L"hang");
    logBefore = NotifyWindow::RepairLogLength();
    {
        CRepairTask task(kShortBoundMs);
        ASSERT_TRUE(task.SetNotifyWindow(window.Handle()));
        ASSERT_TRUE(task.StartRepair());
        ::Sleep(500);
        const DWORD started = ::GetTickCount();
        task.Detach(kShortBoundMs * 3);
        EXPECT_FALSE(task.IsRunning());
        EXPECT_LT(::GetTickCount() - started, kShortBoundMs * 3) << "the worker was not seen to end";
    }
    PumpFor(300);
    EXPECT_TRUE(window.received.empty());
    std::vector<std::string> records = NewLogRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].substr(kStampLength), kGbkRemoveFailed);

    logBefore = NotifyWindow::RepairLogLength();
    {
        CRepairTask task(kShortBoundMs);
        ASSERT_TRUE(task.SetNotifyWindow(window.Handle()));
        ASSERT_TRUE(task.StartRepair());
        const DWORD started = ::GetTickCount();
        task.Detach(1000);
        EXPECT_LT(::GetTickCount() - started, kShortBoundMs) << "the bound was not kept";
    }
    // The abandoned worker ends at the command's bound, without a record.
    ::Sleep(kShortBoundMs + 2000);
    PumpFor(300);
    EXPECT_TRUE(window.received.empty());
    EXPECT_TRUE(NewLogRecords().empty());
}

// Wine gives a program the Windows version named for it under AppDefaults; the probe
// reports what IsSupportedSystem says for the version it was started with.
TEST(SupportedSystem, OnlyVersionTenZero)
{
    const wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\repair_version_probe.exe";
    const std::wstring probe = ProgramFolder() + L"repair_version_probe.exe";
    const struct {
        const wchar_t* version;
        DWORD expected;
    } cases[] = {{L"win10", 1}, {L"win81", 0}, {L"win8", 0}, {L"win7", 0}, {L"vista", 0}, {L"winxp64", 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Version", REG_SZ, c.version,
                                    static_cast<DWORD>((wcslen(c.version) + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        std::wstring commandLine = L"\"" + probe + L"\"";
        ASSERT_TRUE(::CreateProcessW(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &process));
        ::WaitForSingleObject(process.hProcess, 30000);
        DWORD exitCode = 99;
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        EXPECT_EQ(exitCode, c.expected) << c.version;
    }
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
}

}  // namespace
