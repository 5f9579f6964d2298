#include "tests/app/AppDriver.h"

#include <algorithm>
#include <cwctype>
#include <memory>
#include <sstream>

#include <tlhelp32.h>

namespace appdriver {
namespace {

constexpr wchar_t kLibraryName[] = L"TovarinFeedbackInformation.dll";
constexpr wchar_t kScratchBase[] = L"C:\\VeskarScratch";

// Settings of the stand-ins that a run gets only when it asks for them.
const wchar_t* const kClearedByDefault[] = {L"VESKAR_FEEDBACK_INIT", L"VESKAR_FEEDBACK_NEW_VERSION",
                                            L"MCUPDATE_STANDIN_MODE"};

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

void MakeFolders(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(path.c_str(), nullptr);
}

// Wine may hold a program's image or its current folder for a moment after the process has
// ended: removal is retried for a while.
bool RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return ::RemoveDirectoryW(path.c_str()) || !FolderExists(path);
}

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

std::wstring VariableName(const std::wstring& entry)
{
    // Entries such as "=C:=C:\dir" keep their leading '='.
    const size_t equals = entry.find(L'=', 1);
    return equals == std::wstring::npos ? entry : entry.substr(0, equals);
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

bool InMoveLoop(DWORD thread)
{
    GUITHREADINFO info{sizeof(info)};
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
}

bool HasVisibleWindow(DWORD pid)
{
    struct Search {
        DWORD pid;
        bool found;
    } search{pid, false};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            s->found = owner == s->pid && ::IsWindowVisible(window);
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool PointerAt(POINT target)
{
    POINT now{};
    ::GetCursorPos(&now);
    return now.x == target.x && now.y == target.y;
}

void SendAbsoluteMove(POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the primary screen; +1 lands inside the pixel.
    input.mi.dx = screen.x * 65536 / ::GetSystemMetrics(SM_CXSCREEN) + 1;
    input.mi.dy = screen.y * 65536 / ::GetSystemMetrics(SM_CYSCREEN) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= deadline) {
            return done();
        }
        ::Sleep(pollMs);
    }
    return true;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::wstring BesideProgram(const std::wstring& relative)
{
    const std::wstring joined = ProgramFolder() + relative;
    wchar_t full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameW(joined.c_str(), MAX_PATH, full, nullptr);
    return (length > 0 && length < MAX_PATH) ? std::wstring(full, length) : joined;
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes(::GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) {
        ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    }
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::vector<std::string> ReadLines(const std::wstring& path)
{
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

ToolFiles BuildFiles(const std::wstring& buildRootRelative)
{
    ToolFiles files;
    files.tool = BesideProgram(buildRootRelative + L"app\\Veskar.exe");
    files.library = BesideProgram(buildRootRelative + L"app\\TovarinFeedbackInformation.dll");
    files.lackingLibrary = BesideProgram(buildRootRelative + L"standins\\feedback-lacking\\TovarinFeedbackInformation.dll");
    return files;
}

ScratchFolder::ScratchFolder(std::wstring path) : m_path(std::move(path))
{
    MakeFolders(m_path);
}

ScratchFolder::~ScratchFolder()
{
    WaitUntil([this] { return RemoveTree(m_path); }, 3000, 50);
}

bool ScratchFolder::CopyIn(const std::wstring& source, const std::wstring& name) const
{
    return ::CopyFileW(source.c_str(), File(name).c_str(), FALSE) != FALSE;
}

bool ScratchFolder::WriteText(const std::wstring& name, const std::string& text) const
{
    HANDLE file = ::CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == text.size();
}

std::vector<std::wstring> ScratchFolder::Entries() const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((m_path + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring ScratchRoot()
{
    static const std::wstring root = [] {
        const std::wstring path = std::wstring(kScratchBase) + L"\\" + std::to_wstring(::GetCurrentProcessId());
        MakeFolders(path);
        return path;
    }();
    return root;
}

std::wstring ScratchPath(const std::wstring& label)
{
    static int counter = 0;
    return ScratchRoot() + L"\\" + std::to_wstring(++counter) + L"-" + label;
}

ScopedUserSetting::ScopedUserSetting(const std::wstring& key, const std::wstring& name, const std::wstring& text)
    : m_key(key), m_name(name)
{
    Apply(REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

ScopedUserSetting::ScopedUserSetting(const std::wstring& key, const std::wstring& name, DWORD number)
    : m_key(key), m_name(name)
{
    Apply(REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
}

void ScopedUserSetting::Apply(DWORD type, const BYTE* data, DWORD size)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                          &disposition) != ERROR_SUCCESS) {
        return;
    }
    m_createdKey = disposition == REG_CREATED_NEW_KEY;
    DWORD oldSize = 0;
    if (::RegQueryValueExW(key, m_name.c_str(), nullptr, &m_oldType, nullptr, &oldSize) == ERROR_SUCCESS) {
        m_oldData.resize(oldSize);
        m_hadValue = ::RegQueryValueExW(key, m_name.c_str(), nullptr, &m_oldType, m_oldData.data(), &oldSize) ==
                     ERROR_SUCCESS;
    }
    m_applied = ::RegSetValueExW(key, m_name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
}

ScopedUserSetting::~ScopedUserSetting()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
        return;
    }
    if (m_hadValue) {
        ::RegSetValueExW(key, m_name.c_str(), 0, m_oldType, m_oldData.data(), static_cast<DWORD>(m_oldData.size()));
    } else {
        ::RegDeleteValueW(key, m_name.c_str());
    }
    ::RegCloseKey(key);
    if (m_createdKey) {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, m_key.c_str());
    }
}

ToolRun::ToolRun(const ToolFiles& files, const std::wstring& folder, const LaunchOptions& options) : m_folder(folder)
{
    static int counter = 0;
    const std::wstring journalBase =
        TempFolder() + L"veskar-run-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
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
        settings.push_back(std::make_unique<ScopedUserSetting>(L"Software\\Wine\\AppDefaults\\Veskar.exe",
                                                               L"Version", options.windowsVersion));
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
    std::vector<wchar_t> environment = Environment(options);
    STARTUPINFOW startup{sizeof(startup)};
    m_startTick = ::GetTickCount64();
    if (!options.wineTraceFile.empty()) {
        StartThroughShell(program, environment, options.wineTraceFile);
    } else if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                                 environment.data(), m_folder.c_str(), &startup, &m_process)) {
        m_error = "CreateProcess failed with error " + std::to_string(::GetLastError());
        m_process = PROCESS_INFORMATION{};
        return;
    }
    // The settings are read during the process's start-up: by its first window they have been.
    if (!settings.empty()) {
        WaitUntil([this] { return !Running() || HasVisibleWindow(m_process.dwProcessId); }, 15000);
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
    if (source && !::CopyFileW(source->c_str(), (m_folder + L"\\" + kLibraryName).c_str(), FALSE)) {
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
        const bool changed = std::any_of(changes.begin(), changes.end(),
                                         [&](const auto& change) { return SameName(change.first, VariableName(text)); });
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
    struct Search {
        DWORD pid;
        int marker;
        std::vector<HWND> found;
    } search{m_process.dwProcessId, marker, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            if (pid == s->pid && ::IsWindowVisible(window) && ::GetDlgItem(window, s->marker)) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    if (panels.empty() || !ClickControl(panels.front(), kCloseButton)) {
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

RECT WindowScreenRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT ControlScreenRect(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control ? WindowScreenRect(control) : RECT{};
}

RECT ControlClientRect(HWND dialog, int id)
{
    RECT rect = ControlScreenRect(dialog, id);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT Centre(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    const int length = ::GetWindowTextW(window, text, 512);
    return std::wstring(text, static_cast<size_t>(std::max(length, 0)));
}

std::wstring ControlText(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control ? WindowText(control) : std::wstring();
}

bool PromptReady(HWND prompt)
{
    return !ControlText(prompt, kPromptMarker).empty();
}

bool MovePointer(POINT screen)
{
    // A late motion from an earlier move may still arrive: move again until the pointer
    // stays on the target.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SendAbsoluteMove(screen);
        WaitUntil([screen] { return PointerAt(screen); }, 300);
        ::Sleep(40);
        if (PointerAt(screen)) {
            return true;
        }
    }
    return false;
}

void LeftButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(INPUT));
}

bool ClickAt(POINT screen)
{
    if (!MovePointer(screen)) {
        return false;
    }
    LeftButton(true);
    LeftButton(false);
    return true;
}

bool ClickControl(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control && ClickAt(Centre(WindowScreenRect(control)));
}

void PressKey(WORD virtualKey)
{
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = virtualKey;
        key.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

bool DragWithMouse(POINT from, POINT to, DWORD uiThread)
{
    if (!MovePointer(from)) {
        return false;
    }
    LeftButton(true);
    if (!WaitUntil([uiThread] { return InMoveLoop(uiThread); }, 2000)) {
        LeftButton(false);
        return false;
    }
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
        ::Sleep(20);
        SendAbsoluteMove(POINT{from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
    }
    WaitUntil([to] { return PointerAt(to); }, 1000);
    ::Sleep(50);
    LeftButton(false);
    return WaitUntil([uiThread] { return !InMoveLoop(uiThread); }, 2000);
}

}  // namespace appdriver
