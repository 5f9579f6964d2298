#pragma once
// Drives the built tool from outside its process, as a user would: the tool is copied into a
// scratch folder of its own (with the feedback library, a variant of it, or none), started
// with chosen environment settings and Wine settings, found by the windows it shows, driven
// through real input (SendInput) and ended. Every wait is bounded and says whether it
// succeeded, so that a caller can fail with a message instead of hanging.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace appdriver {

// Control ids the driver finds the tool's windows by.
constexpr int kPanelMarker = 1011;     // the panel's repair button
constexpr int kPromptMarker = 1005;    // a prompt's text
constexpr int kBusyMarker = 1000;      // the busy pop-up's animated text
constexpr int kFeedbackMarker = 1001;  // the problem-solving pop-up's close cross
constexpr int kCloseButton = 1004;
constexpr int kPromptOk = 1006;

// Polls `done` every `pollMs` until it holds or `timeoutMs` has passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 10);

// The running program's folder, with a trailing backslash.
std::wstring ProgramFolder();
// `relative` resolved against the running program's folder (".." allowed).
std::wstring BesideProgram(const std::wstring& relative);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// A whole file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// The lines of a text file, without their line ends; none when it does not exist.
std::vector<std::string> ReadLines(const std::wstring& path);
// UTF-16 to UTF-8, for messages and journal comparisons.
std::string Utf8(const std::wstring& text);

// The files the driver copies: the tool and the two builds of the feedback library.
struct ToolFiles {
    std::wstring tool;
    std::wstring library;
    std::wstring lackingLibrary;  // the library without one of its exports
};
// The build's files, given the build folder relative to the running program ("..\\..\\").
ToolFiles BuildFiles(const std::wstring& buildRootRelative);

// A folder made for one run and removed with everything in it at the end (unless removed
// already, which is what the tool's self-removal does).
class ScratchFolder {
public:
    // `path` is a full path; missing parent folders are made.
    explicit ScratchFolder(std::wstring path);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder without a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }
    bool CopyIn(const std::wstring& source, const std::wstring& name) const;
    bool WriteText(const std::wstring& name, const std::string& text) const;
    // The names of the files and folders in it (none when it is gone).
    std::vector<std::wstring> Entries() const;

private:
    std::wstring m_path;
};

// The root of the driver's scratch folders inside the Wine prefix, made on first use:
// C:\VeskarScratch\<this program's process id>.
std::wstring ScratchRoot();
// A fresh, unused name under the scratch root, with `label` in it (blanks and % allowed).
std::wstring ScratchPath(const std::wstring& label);

// A registry value under HKEY_CURRENT_USER set for the life of the object, then restored
// (or removed when it did not exist, with the key when this object made it).
class ScopedUserSetting {
public:
    ScopedUserSetting(const std::wstring& key, const std::wstring& name, const std::wstring& text);
    ScopedUserSetting(const std::wstring& key, const std::wstring& name, DWORD number);
    ~ScopedUserSetting();
    ScopedUserSetting(const ScopedUserSetting&) = delete;
    ScopedUserSetting& operator=(const ScopedUserSetting&) = delete;
    bool Applied() const { return m_applied; }

private:
    void Apply(DWORD type, const BYTE* data, DWORD size);

    std::wstring m_key;
    std::wstring m_name;
    bool m_applied = false;
    bool m_createdKey = false;
    bool m_hadValue = false;
    DWORD m_oldType = 0;
    std::vector<BYTE> m_oldData;
};

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
    // Where Wine's own messages for the tool go (WINEDEBUG in `environment` chooses them);
    // empty: wherever the test's go. The tool is then started through the host's shell, and
    // its UI thread is not known (UiThreadId is 0).
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

// A control's rectangle, on the screen or in its dialog's client coordinates.
RECT ControlScreenRect(HWND dialog, int id);
RECT ControlClientRect(HWND dialog, int id);
RECT WindowScreenRect(HWND window);
POINT Centre(const RECT& rect);
std::wstring WindowText(HWND window);
std::wstring ControlText(HWND dialog, int id);
// Whether a prompt is laid out: its text is set after its buttons have been placed.
bool PromptReady(HWND prompt);

// Real input from this process. Absolute moves reach the pointer under Wine where
// SetCursorPos may not; each move waits (bounded) until the pointer has settled.
bool MovePointer(POINT screen);
void LeftButton(bool down);
// A left click at a screen point; false when the pointer did not get there.
bool ClickAt(POINT screen);
bool ClickControl(HWND dialog, int id);
void PressKey(WORD virtualKey);
// Presses at `from`, moves to `to` in steps and releases, waiting for the system's move loop
// of `uiThread` to begin and to end; false when it did not run.
bool DragWithMouse(POINT from, POINT to, DWORD uiThread);

}  // namespace appdriver
