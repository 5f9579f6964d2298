#pragma once
// Drives the built tool from outside its process, as a user would: the tool is copied into a
// folder of its own (with the feedback library, a variant of it, or none), started with
// chosen environment settings and Wine settings, found by the windows it shows, driven
// through real input and ended. Every wait is bounded and says whether it succeeded, so that
// a caller can fail with a message instead of hanging.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/Tool.h"

namespace testsupport {

// The files a run copies: the tool and the two builds of the feedback library.
struct ToolFiles {
    std::wstring tool;
    std::wstring library;
    std::wstring lackingLibrary;  // the library without one of its exports
};
// The build's files, given the build folder relative to the running program ("..\\..\\").
ToolFiles BuildFiles(const std::wstring& buildRootRelative);

enum class Library { Standin, Lacking, Missing };

struct LaunchOptions {
    Library library = Library::Standin;
    // The name the program is copied and started under.
    std::wstring programName = L"Veskar.exe";
    // Extra environment variables for the tool (and what it starts); an empty value removes
    // the variable.
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    // Wine's Windows version for programs named Veskar.exe ("win7", "win81"; empty: the
    // prefix's own), and the pixel density for the next process started (0: unchanged).
    std::wstring windowsVersion;
    DWORD logPixels = 0;
    // Arguments after the program's name on its command line.
    std::vector<std::wstring> arguments;
    // Where Wine's own messages for the tool go (WINEDEBUG in `environment` chooses them);
    // empty: wherever the test's go. The tool is then started through the host's shell, and
    // its interface thread is not known (UiThreadId is 0).
    std::wstring wineTraceFile;
};

// One run of the tool from a folder of its own.
class ToolRun {
public:
    // Copies the tool (and the library chosen) into `folder`, which must exist, and starts
    // it. The call journals of the library and of the agent stand-in go to files of this
    // run outside that folder.
    ToolRun(const ToolFiles& files, const std::wstring& folder, const LaunchOptions& options = {});
    // Ends the tool if it still runs.
    ~ToolRun();
    ToolRun(const ToolRun&) = delete;
    ToolRun& operator=(const ToolRun&) = delete;

    // Empty when the tool was started; else what went wrong.
    const std::string& Error() const { return m_error; }
    bool Started() const { return m_error.empty(); }
    DWORD ProcessId() const { return m_process.dwProcessId; }
    DWORD UiThreadId() const { return m_process.dwThreadId; }
    HANDLE Process() const { return m_process.hProcess; }
    const std::wstring& Folder() const { return m_folder; }
    // When the process was created (GetTickCount64).
    ULONGLONG StartTick() const { return m_startTick; }

    bool Running() const;
    // Waits for the process to end; true when it did, with its exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
    // Ends the process at once (TerminateProcess) and waits for it to go.
    void Kill();

    // The visible top-level windows of the tool that hold control `marker`.
    std::vector<HWND> WindowsWith(int marker) const;
    // The first such window to show within `timeoutMs`; null when none did.
    HWND WaitForWindowWith(int marker, DWORD timeoutMs) const;
    HWND WaitForPanel(DWORD timeoutMs = 15000) const { return WaitForWindowWith(kPanelMarker, timeoutMs); }
    // A prompt once it is laid out (PromptReady).
    HWND WaitForPrompt(DWORD timeoutMs = 15000) const;
    // The main frame: the visible top-level window of the tool that owns the panel.
    HWND Frame(HWND panel) const;

    // Closes the tool by its close button and answers the problem-solving pop-up with its
    // close cross if one shows; true when the process ended within `timeoutMs`.
    bool CloseByCloseButton(DWORD timeoutMs = 10000);

    std::vector<std::string> FeedbackCalls() const { return ReadLines(m_feedbackJournal); }
    // The agent stand-in's journal: "<pid>\t<program>\t<arguments>" per run.
    std::vector<std::string> AgentCalls() const { return ReadLines(m_agentJournal); }

private:
    bool CopyFiles(const ToolFiles& files, const LaunchOptions& options);
    bool StartThroughShell(const std::wstring& program, std::vector<wchar_t>& environment,
                           const std::wstring& traceFile);
    std::vector<wchar_t> Environment(const LaunchOptions& options) const;

    std::wstring m_folder;
    std::wstring m_feedbackJournal;
    std::wstring m_agentJournal;
    PROCESS_INFORMATION m_process{};
    ULONGLONG m_startTick = 0;
    std::string m_error;
};

// Whether a prompt is laid out: its text is set after its buttons have been placed.
bool PromptReady(HWND prompt);

}  // namespace testsupport
