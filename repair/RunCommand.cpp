#include "repair/RunCommand.h"

#include <algorithm>
#include <vector>

#include "framework/Handles.h"
#include "framework/SystemFolders.h"
#include "repair/HandleListStartup.h"

namespace {

// The command line must fit this writable buffer; a longer one is refused, never cut.
constexpr size_t kCommandLineCapacity = 2048;
constexpr DWORD kReadBufferSize = 4096;
// Each read takes at most one byte less than the buffer, which keeps a terminating zero.
constexpr DWORD kReadChunkSize = kReadBufferSize - 1;
// A fixed pause after every chunk of output: the agent writes little, and in bursts.
constexpr DWORD kPauseAfterChunkMs = 500;

// /D: no AutoRun command from the user's registry runs in our elevated interpreter.
constexpr wchar_t kInterpreterPrefix[] = L"cmd /D /C ";

// Ends the command's job, and with it every process of the command, when the bound passes
// before Finish is called.
class CommandWatchdog {
public:
    CommandWatchdog(HANDLE job, DWORD timeoutMs)
        : m_job(job), m_timeoutMs(timeoutMs), m_finished(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        if (m_finished.Valid()) {
            m_thread.Reset(::CreateThread(nullptr, 0, &CommandWatchdog::ThreadProc, this, 0, nullptr));
        }
    }
    ~CommandWatchdog() { Finish(); }
    CommandWatchdog(const CommandWatchdog&) = delete;
    CommandWatchdog& operator=(const CommandWatchdog&) = delete;

    bool Running() const { return m_thread.Valid(); }
    // Stops watching; true when the bound had passed and the job was ended.
    bool Finish()
    {
        if (m_thread.Valid()) {
            ::SetEvent(m_finished.Get());
            ::WaitForSingleObject(m_thread.Get(), INFINITE);
            m_thread.Reset();
        }
        return m_fired != 0;
    }

private:
    static DWORD WINAPI ThreadProc(LPVOID param)
    {
        auto* self = static_cast<CommandWatchdog*>(param);
        if (::WaitForSingleObject(self->m_finished.Get(), self->m_timeoutMs) == WAIT_TIMEOUT) {
            ::InterlockedExchange(&self->m_fired, 1);
            ::TerminateJobObject(self->m_job, ERROR_TIMEOUT);
        }
        return 0;
    }

    HANDLE m_job;  // borrowed from RunCommand, which outlives the watchdog
    DWORD m_timeoutMs;
    UniqueHandle m_finished;
    UniqueHandle m_thread;
    volatile LONG m_fired = 0;
};

void AppendChunk(const char* bytes, std::wstring& output)
{
    // The chunk's text ends at its first zero byte.
    const int length = lstrlenA(bytes);
    if (length == 0) {
        return;
    }
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
    if (size <= 0) {
        return;
    }
    const size_t start = output.size();
    output.resize(start + size);
    ::MultiByteToWideChar(CP_ACP, 0, bytes, length, &output[start], size);
}

}  // namespace

bool RunCommand(std::wstring command, std::wstring& output, DWORD timeoutMs)
{
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!::CreatePipe(readEnd.Put(), writeEnd.Put(), &inheritable, 0)) {
        return false;
    }
    // Only the write end goes to the command.
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    UniqueHandle nullInput(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                         OPEN_EXISTING, 0, nullptr));

    // Nothing of the tool's own start-up and no other handle of ours reaches the command.
    HandleListStartup startup({nullInput.Get(), writeEnd.Get()});
    STARTUPINFOW& info = startup.Info();
    info.hStdInput = nullInput.Get();
    info.hStdOutput = writeEnd.Get();
    info.hStdError = writeEnd.Get();
    info.wShowWindow = SW_HIDE;
    info.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;

    // The interpreter by its full path, working in the system folder: the tool runs elevated,
    // so nothing in the tool's folder or its current folder may be picked up.
    const std::wstring system = SystemFolder();
    const std::wstring interpreter = system + L"\\cmd.exe";
    const std::wstring text = kInterpreterPrefix + command;
    if (!nullInput.Valid() || !startup.Valid() || system.empty() || text.size() >= kCommandLineCapacity) {
        return false;
    }
    std::vector<wchar_t> commandLine(kCommandLineCapacity, L'\0');
    text.copy(commandLine.data(), text.size());

    // Started suspended so that it is inside the job before it can start anything itself.
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT, nullptr, system.c_str(), &info, &process)) {
        return false;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);

    // A command that cannot be bounded is not run at all.
    UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job.Valid() || !::AssignProcessToJobObject(job.Get(), processHandle.Get())) {
        ::TerminateProcess(processHandle.Get(), ERROR_TIMEOUT);
        return false;
    }
    CommandWatchdog watchdog(job.Get(), timeoutMs);
    if (!watchdog.Running()) {
        ::TerminateJobObject(job.Get(), ERROR_TIMEOUT);
        return false;
    }
    ::ResumeThread(threadHandle.Get());

    // Without our copy of the write end, the pipe breaks once every process of the command
    // has closed its own.
    writeEnd.Reset();
    std::vector<char> buffer(kReadBufferSize);
    for (;;) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        DWORD read = 0;
        if (!::ReadFile(readEnd.Get(), buffer.data(), kReadChunkSize, &read, nullptr)) {
            break;
        }
        AppendChunk(buffer.data(), output);
        ::Sleep(kPauseAfterChunkMs);
    }
    readEnd.Reset();

    // Bounded too: the watchdog ends the job at the latest when the bound passes.
    ::WaitForSingleObject(processHandle.Get(), INFINITE);
    return !watchdog.Finish();
}
