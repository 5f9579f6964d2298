#include "repair/CRepairTask.h"

#include "app/Messages.h"
#include "framework/SystemFolders.h"
#include "log/CLogSave.h"
#include "log/LogRecord.h"

namespace {

// The agent's place under the Program Files folder.
const wchar_t kAgentInProgramFiles[] = L"\\McAfee.com\\Agent\\McUpdate.exe";
const wchar_t kRemoveSwitch[] = L"/removeproductsstatus";
const wchar_t kSubmitSwitch[] = L"/submitproductsstatus";

const wchar_t kRepairLogFile[] = L"Quenmar软件名称显示乱码修复工具.txt";
const wchar_t kThreadFailedText[] = L"创建修复Quenmar软件名称显示乱码线程失败";
const wchar_t kRemoveFailedText[] = L"执行修复removeproductsstatus命令失败";
const wchar_t kSubmitFailedText[] = L"执行修复submitproductsstatus命令失败";

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

}  // namespace

bool CRepairTask::SetNotifyWindow(HWND window)
{
    if (window == nullptr) {
        return false;
    }
    m_notifyWindow = window;
    return true;
}

bool CRepairTask::IsSupportedSystem() const
{
    const BYTE* peb = ProcessEnvironmentBlock();
    const ULONG major = *reinterpret_cast<const ULONG*>(peb + kPebMajorVersionOffset);
    const ULONG minor = *reinterpret_cast<const ULONG*>(peb + kPebMinorVersionOffset);
    return major == 10 && minor == 0;
}

bool CRepairTask::StartRepair()
{
    const HANDLE thread = ::CreateThread(nullptr, 0, &RepairThreadProc, this, 0, nullptr);
    if (thread == nullptr) {
        WriteRepairLog(kThreadFailedText);
        return false;
    }
    ::CloseHandle(thread);
    return true;
}

bool CRepairTask::DoRepair()
{
    std::wstring output;  // drained and dropped: the agent's text decides nothing
    if (!RunAgentCommand(kRemoveSwitch, output)) {
        ReportOutcome(kRepairFailed);
        WriteRepairLog(kRemoveFailedText);
        return false;
    }
    if (!RunAgentCommand(kSubmitSwitch, output)) {
        ReportOutcome(kRepairFailed);
        WriteRepairLog(kSubmitFailedText);
        return false;
    }
    ReportOutcome(kRepairSucceeded);
    return true;
}

// A missing agent counts as a command that could not be started: the interpreter would
// start, complain and end, which would pass for a repair.
bool CRepairTask::RunAgentCommand(const wchar_t* agentSwitch, std::wstring& output) const
{
    const std::wstring agent = AgentPath();
    if (!AgentExists(agent)) {
        return false;
    }
    const std::wstring command = L"\"" + agent + L"\" " + agentSwitch;
    return RunCommand(command, output, m_commandTimeoutMs);
}

// Both sent, so the worker waits while the panel closes the busy pop-up and then while it
// shows the result prompt.
void CRepairTask::ReportOutcome(WPARAM result) const
{
    ::SendMessageW(m_notifyWindow, WM_CLOSE_PROGRESS, 0, 0);
    ::SendMessageW(m_notifyWindow, WM_REPAIR_RESULT, result, 0);
}

DWORD WINAPI RepairThreadProc(LPVOID param)
{
    static_cast<CRepairTask*>(param)->DoRepair();
    return 1;
}
