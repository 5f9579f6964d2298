#include "tests/support/ToolRun.h"

#include <algorithm>
#include <cwctype>
#include <memory>

#include <tlhelp32.h>

#include "tests/support/Input.h"
#include "tests/support/Settings.h"
#include "tests/support/Text.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

namespace testsupport {
namespace {

// Settings of the stand-ins that a run gets only when it asks for them.
const wchar_t* const kClearedByDefault[] = {L"VESKAR_FEEDBACK_INIT", L"VESKAR_FEEDBACK_NEW_VERSION",
                                            L"MCUPDATE_STANDIN_MODE"};

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(x) == std::towupper(y);
           });
}

// The running process whose image is `path`; 0 when there is none.
DWORD ProcessWithImage(const std::wstring& path)
{
    const std::wstring name = path.substr(path.rfind(L'\\') + 1);
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof(entry)};
    DWORD found = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry)) {
        if (!SameName(entry.szExeFile, name)) {
            continue;
        }
        const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (process && ::QueryFullProcessImageNameW(process, 0, image, &size) && SameName(image, path)) {
            found = entry.th32ProcessID;
        }
        if (process) {
            ::CloseHandle(process);
        }
    }
    ::CloseHandle(snapshot);
    return found;
}

std::wstring VariableName(const std::wstring& entry)
{
    // Entries such as "=C:=C:\dir" keep their leading '='.
    const size_t equals = entry.find(L'=', 1);
    return equals == std::wstring::npos ? entry : entry.substr(0, equals);
}

}  // namespace

ToolFiles BuildFiles(const std::wstring& buildRootRelative)
{
    ToolFiles files;
    files.tool = BesideProgram(buildRootRelative + L"app\\Veskar.exe");
    files.library = BesideProgram(buildRootRelative + L"app\\" + CFeedbackLibrary::kFileName);
    files.lackingLibrary = BesideProgram(buildRootRelative + L"standins\\feedback-lacking\\" + CFeedbackLibrary::kFileName);
    return files;
}

ToolRun::ToolRun(const ToolFiles& files, const std::wstring& folder, const LaunchOptions& options) : m_folder(folder)
{
    static int counter = 0;
    const std::wstring journalBase =
        TempPath() + L"veskar-run-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    m_feedbackJournal = journalBase + L"-feedback.txt";
    m_agentJournal = journalBase + L"-agent.txt";
    ::DeleteFileW(m_feedbackJournal.c_str());
    ::DeleteFileW(m_agentJournal.c_str());

    if (!CopyFiles(files, options)) {
        return;
    }
    // Wine reads both settings when a process starts; they are undone once this one has.
    std::vector<std::unique_ptr<ScopedUserSetting>> settings;
    if (!options.windowsVersion.empty()) {
        settings.push_back(std::make_unique<ScopedUserSetting>(L"Software\\Wine\\AppDefaults\\Veskar.exe", L"Version",
                                                               options.windowsVersion));
    }
    if (options.logPixels != 0) {
        settings.push_back(
            std::make_unique<ScopedUserSetting>(L"Control Panel\\Desktop", L"LogPixels", options.logPixels));
    }
    for (const auto& setting : settings) {
        if (!setting->Applied()) {
            m_error = "a Wine setting could not be written";
            return;
        }
    }

    const std::wstring program = m_folder + L"\\" + options.programName;
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::wstring& argument : options.arguments) {
        commandLine += L" " + argument;
    }
    std::vector<wchar_t> environment = Environment(options);
    STARTUPINFOW startup{sizeof(startup)};
    m_startTick = ::GetTickCount64();
    if (!options.wineTraceFile.empty()) {
        if (!StartThroughShell(program, environment, options.wineTraceFile)) {
            return;
        }
    } else if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                                 environment.data(), m_folder.c_str(), &startup, &m_process)) {
        m_error = "CreateProcess failed with error " + std::to_string(::GetLastError());
        m_process = PROCESS_INFORMATION{};
        return;
    }
    DriveProcess(m_process.dwProcessId);
    // The settings are read during the process's start-up: by its first window they have been.
    if (!settings.empty()) {
        WaitUntil([this] { return !Running() || !VisibleWindows(m_process.dwProcessId).empty(); }, 15000);
    }
}

// Wine writes its messages to the Unix standard error, which a Windows parent cannot point
// anywhere: a shell of the host starts the tool with it sent to the file. Wine hands back no
// process for a Unix program, so the tool is then found by its image's path.
bool ToolRun::StartThroughShell(const std::wstring& program, std::vector<wchar_t>& environment,
                                const std::wstring& traceFile)
{
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    const HANDLE trace = ::CreateFileW(traceFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inheritable, CREATE_ALWAYS, 0, nullptr);
    if (trace == INVALID_HANDLE_VALUE) {
        m_error = "cannot create " + Utf8(traceFile);
        return false;
    }
    STARTUPINFOW startup{sizeof(startup)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = trace;
    startup.hStdError = trace;
    std::wstring commandLine = L"/bin/sh -c \"exec wine \\\"$0\\\" 2>&1\" \"" + program + L"\"";
    PROCESS_INFORMATION shell{};
    const bool started =
        ::CreateProcessW(L"Z:\\bin\\sh", &commandLine[0], nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                         environment.data(), m_folder.c_str(), &startup, &shell) != FALSE;
    ::CloseHandle(trace);
    if (!started) {
        m_error = "the host's shell could not be started: error " + std::to_string(::GetLastError());
        return false;
    }
    WaitUntil([&] { return (m_process.dwProcessId = ProcessWithImage(program)) != 0; }, 15000, 50);
    m_process.hProcess = ::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                       m_process.dwProcessId);
    if (!m_process.hProcess) {
        m_error = "the tool did not show up in the process list";
        m_process = PROCESS_INFORMATION{};
        return false;
    }
    return true;
}

ToolRun::~ToolRun()
{
    StopDrivingProcess(m_process.dwProcessId);
    if (m_process.hProcess) {
        Kill();
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    ::DeleteFileW(m_feedbackJournal.c_str());
    ::DeleteFileW(m_agentJournal.c_str());
}

bool ToolRun::CopyFiles(const ToolFiles& files, const LaunchOptions& options)
{
    const Library library = options.library;
    if (!::CopyFileW(files.tool.c_str(), (m_folder + L"\\" + options.programName).c_str(), FALSE)) {
        m_error = "cannot copy " + Utf8(files.tool) + " into " + Utf8(m_folder);
        return false;
    }
    const std::wstring* source = library == Library::Standin   ? &files.library
                                 : library == Library::Lacking ? &files.lackingLibrary
                                                               : nullptr;
    if (source && !::CopyFileW(source->c_str(), (m_folder + L"\\" + CFeedbackLibrary::kFileName).c_str(), FALSE)) {
        m_error = "cannot copy " + Utf8(*source) + " into " + Utf8(m_folder);
        return false;
    }
    return true;
}

std::vector<wchar_t> ToolRun::Environment(const LaunchOptions& options) const
{
    std::vector<std::pair<std::wstring, std::wstring>> changes;
    for (const wchar_t* name : kClearedByDefault) {
        changes.emplace_back(name, L"");
    }
    changes.emplace_back(L"VESKAR_FEEDBACK_JOURNAL", m_feedbackJournal);
    changes.emplace_back(L"MCUPDATE_STANDIN_JOURNAL", m_agentJournal);
    changes.insert(changes.end(), options.environment.begin(), options.environment.end());

    std::vector<std::wstring> entries;
    wchar_t* block = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = block; entry && *entry; entry += wcslen(entry) + 1) {
        const std::wstring text(entry);
        const bool changed = std::any_of(changes.begin(), changes.end(), [&](const auto& change) {
            return SameName(change.first, VariableName(text));
        });
        if (!changed) {
            entries.push_back(text);
        }
    }
    ::FreeEnvironmentStringsW(block);
    // The last change of a name wins.
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        const bool later = std::any_of(changes.rbegin(), change,
                                       [&](const auto& other) { return SameName(other.first, change->first); });
        if (!later && !change->second.empty()) {
            entries.push_back(change->first + L"=" + change->second);
        }
    }

    std::vector<wchar_t> result;
    for (const std::wstring& entry : entries) {
        result.insert(result.end(), entry.begin(), entry.end());
        result.push_back(L'\0');
    }
    result.push_back(L'\0');
    return result;
}

bool ToolRun::Running() const
{
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

bool ToolRun::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const
{
    if (!m_process.hProcess || ::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode) {
        ::GetExitCodeProcess(m_process.hProcess, exitCode);
    }
    return true;
}

void ToolRun::Kill()
{
    if (Running()) {
        ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
}

std::vector<HWND> ToolRun::WindowsWith(int marker) const
{
    std::vector<HWND> found;
    for (HWND window : VisibleWindows(m_process.dwProcessId)) {
        if (::GetDlgItem(window, marker)) {
            found.push_back(window);
        }
    }
    return found;
}

HWND ToolRun::WaitForWindowWith(int marker, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> windows = WindowsWith(marker);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr || !Running();
        },
        timeoutMs);
    return found;
}

HWND ToolRun::WaitForPrompt(DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = nullptr;
            for (HWND prompt : WindowsWith(kPromptMarker)) {
                if (PromptReady(prompt)) {
                    found = prompt;
                }
            }
            return found != nullptr || !Running();
        },
        timeoutMs);
    return found;
}

HWND ToolRun::Frame(HWND panel) const
{
    return ::GetWindow(panel, GW_OWNER);
}

bool ToolRun::CloseByCloseButton(DWORD timeoutMs)
{
    const std::vector<HWND> panels = WindowsWith(kPanelMarker);
    if (panels.empty() || !ClickControl(panels.front(), IDC_CLOSE)) {
        return false;
    }
    HWND answered = nullptr;
    return WaitUntil(
        [&] {
            if (!Running()) {
                return true;
            }
            const std::vector<HWND> popups = WindowsWith(kFeedbackMarker);
            if (!popups.empty() && popups.front() != answered) {
                answered = popups.front();
                ClickControl(answered, kFeedbackMarker);
            }
            return false;
        },
        timeoutMs, 20);
}

bool PromptReady(HWND prompt)
{
    return !ControlText(prompt, kPromptMarker).empty();
}

}  // namespace testsupport
