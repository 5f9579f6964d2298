#include "repair/CRepairTask.h"

#include <atomic>
#include <initializer_list>
#include <mutex>

#include "log/CLogSave.h"
#include "log/LogRecord.h"
#include "repair/RepairMessages.h"
#include "repair/RepairSteps.h"
#include "framework/SystemFolders.h"
#include "framework/ThreadWait.h"

namespace {

// Where the process environment block keeps OSMajorVersion and OSMinorVersion.
#ifdef _WIN64
constexpr size_t kPebMajorVersionOffset = 0x118;
constexpr size_t kPebMinorVersionOffset = 0x11C;
#else
constexpr size_t kPebMajorVersionOffset = 0xA4;
constexpr size_t kPebMinorVersionOffset = 0xA8;
#endif

// The process environment block, from the thread environment block's own pointer to it.
const BYTE* ProcessEnvironmentBlock()
{
    const BYTE* peb = nullptr;
#ifdef _WIN64
    __asm__("movq %%gs:0x60, %0" : "=r"(peb));
#else
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
#endif
    return peb;
}

void WriteRepairLog(const wchar_t* text)
{
    CLogSave::GetInstance().WriteLog(WideToCp936(text), WideToCp936(kRepairLogFile), true);
}

// The agent under the Program Files folder as the system names it: the 64-bit one, since
// the tool is a 64-bit program. Empty when the system names none.
std::wstring AgentPath()
{
    const std::wstring programFiles = KnownFolder(FOLDERID_ProgramFiles);
    return programFiles.empty() ? std::wstring() : programFiles + kAgentInProgramFiles;
}

bool AgentExists(const std::wstring& path)
{
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A missing agent counts as a command that could not be started: the interpreter would
// start, complain and end, which would pass for a repair.
bool RunAgentCommand(const wchar_t* agentSwitch, DWORD timeoutMs, std::wstring& output)
{
    const std::wstring agent = AgentPath();
    if (!AgentExists(agent)) {
        return false;
    }
    const std::wstring command = L"\"" + agent + L"\" " + agentSwitch;
    return RunCommand(command, output, timeoutMs);
}

}  // namespace

// What the worker uses. The task and a running worker each hold a reference, so that a
// worker left running after Detach never touches a freed task.
struct CRepairTask::Shared {
    explicit Shared(DWORD timeoutMs) : commandTimeoutMs(timeoutMs) {}

    const DWORD commandTimeoutMs;
    std::atomic<HWND> notifyWindow{nullptr};
    std::atomic<bool> running{false};
    // Held while the worker writes its record, and to mark the worker abandoned: the log front
    // end goes at process exit, and an abandoned worker must not write into it then.
    std::mutex logLock;
    bool abandoned = false;

    // Both sent, so the worker waits while the panel closes the busy pop-up and then while it
    // shows the result prompt.
    void ReportOutcome(WPARAM result) const
    {
        if (HWND window = notifyWindow.load()) {
            ::SendMessageW(window, WM_CLOSE_PROGRESS, 0, 0);
        }
        if (HWND window = notifyWindow.load()) {
            ::SendMessageW(window, WM_REPAIR_RESULT, result, 0);
        }
    }

    void Log(const wchar_t* text)
    {
        std::lock_guard<std::mutex> lock(logLock);
        if (!abandoned) {
            WriteRepairLog(text);
        }
    }

    bool Repair()
    {
        std::wstring output;  // drained and dropped: the agent's text decides nothing
        for (const AgentStep& step : {kRemoveStep, kSubmitStep}) {
            if (!RunAgentCommand(step.agentSwitch, commandTimeoutMs, output)) {
                ReportOutcome(kRepairFailed);
                Log(step.failedRecord);
                return false;
            }
        }
        ReportOutcome(kRepairSucceeded);
        return true;
    }
};

CRepairTask::CRepairTask(DWORD commandTimeoutMs) : m_shared(std::make_shared<Shared>(commandTimeoutMs)) {}

CRepairTask::~CRepairTask()
{
    Detach();
}

bool CRepairTask::SetNotifyWindow(HWND window)
{
    if (window == nullptr) {
        return false;
    }
    m_shared->notifyWindow = window;
    return true;
}

bool CRepairTask::IsSupportedSystem() const
{
    const BYTE* peb = ProcessEnvironmentBlock();
    const ULONG major = *reinterpret_cast<const ULONG*>(peb + kPebMajorVersionOffset);
    const ULONG minor = *reinterpret_cast<const ULONG*>(peb + kPebMinorVersionOffset);
    return major == 10 && minor == 0;
}

bool CRepairTask::IsRunning() const
{
    return m_shared->running.load();
}

bool CRepairTask::StartRepair()
{
    if (m_shared->running.exchange(true)) {
        return false;
    }
    auto* reference = new std::shared_ptr<Shared>(m_shared);
    HANDLE thread = ::CreateThread(nullptr, 0, &CRepairTask::ThreadProc, reference, 0, nullptr);
    if (thread == nullptr) {
        delete reference;
        m_shared->running = false;
        WriteRepairLog(kThreadFailedRecord);
        return false;
    }
    m_worker.Reset(thread);
    return true;
}

bool CRepairTask::DoRepair()
{
    return m_shared->Repair();
}

DWORD WINAPI CRepairTask::ThreadProc(LPVOID param)
{
    const std::unique_ptr<std::shared_ptr<Shared>> reference(static_cast<std::shared_ptr<Shared>*>(param));
    Shared& shared = **reference;
    shared.Repair();
    shared.running = false;
    return 1;
}

void CRepairTask::Detach(DWORD boundMs)
{
    m_shared->notifyWindow = nullptr;
    if (!m_worker.Valid()) {
        return;
    }
    HANDLE worker = m_worker.Get();
    const bool ended = WaitForThreads(&worker, 1, boundMs);
    std::lock_guard<std::mutex> lock(m_shared->logLock);
    m_shared->abandoned = !ended;
    m_worker.Reset();
}
