// Stand-in for the McAfee agent's McUpdate.exe, for tests and demonstration runs.
// Every invocation appends one line to a journal; what it then does is chosen by a mode
// (see README.md beside this file).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Each setting is an environment variable, or else a file of the same purpose beside the
// program. The mode's variable holds the mode itself; the others hold a file's path.
struct Setting {
    const wchar_t* variable;
    const wchar_t* fileName;
};
const Setting kMode = {L"MCUPDATE_STANDIN_MODE", L"McUpdate.mode"};
const Setting kJournal = {L"MCUPDATE_STANDIN_JOURNAL", L"McUpdate.journal"};
const Setting kRelease = {L"MCUPDATE_STANDIN_RELEASE", L"McUpdate.release"};
// First argument of the lingering child that the "child" mode leaves behind.
const wchar_t kLingerSwitch[] = L"/linger";

std::wstring ModulePath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring NameOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

// The file a setting names: the path in its variable, or its file beside the program.
std::wstring SettingFile(const Setting& setting, const std::wstring& program)
{
    const std::wstring path = Variable(setting.variable);
    return path.empty() ? FolderOf(program) + setting.fileName : path;
}

// The command line after the program's own name, as it was given.
std::wstring Arguments()
{
    const wchar_t* p = ::GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') {
            ++p;
        }
        if (*p) {
            ++p;
        }
    } else {
        while (*p && *p != L' ' && *p != L'\t') {
            ++p;
        }
    }
    while (*p == L' ' || *p == L'\t') {
        ++p;
    }
    return p;
}

std::string Utf8(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(size > 0 ? size : 0, '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr,
                              nullptr);
    }
    return bytes;
}

// One line per invocation: process id, program file name and arguments, separated by tabs.
// One append-only write, so that concurrent invocations do not mix their lines.
void RecordInvocation(const std::wstring& program, const std::wstring& arguments)
{
    const std::wstring path = SettingFile(kJournal, program);
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string line =
        std::to_string(::GetCurrentProcessId()) + "\t" + Utf8(NameOf(program)) + "\t" + Utf8(arguments) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::wstring ReadMode(const std::wstring& program)
{
    std::wstring mode = Variable(kMode.variable);
    if (!mode.empty()) {
        return mode;
    }
    const std::wstring path = FolderOf(program) + kMode.fileName;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return mode;
    }
    char text[64] = {};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    ::CloseHandle(file);
    for (DWORD i = 0; i < read && text[i] > ' '; ++i) {
        mode += static_cast<wchar_t>(text[i]);
    }
    return mode;
}

// The mode text is one mode for every invocation ("hang"), or a comma-separated list whose
// entries may name the arguments they apply to ("/submitproductsstatus:hang,quiet"): the
// first entry naming these arguments wins, else the first entry naming none.
std::wstring ModeFor(const std::wstring& modeText, const std::wstring& arguments)
{
    std::wstring fallback;
    bool haveFallback = false;
    size_t start = 0;
    while (start <= modeText.size()) {
        size_t end = modeText.find(L',', start);
        if (end == std::wstring::npos) {
            end = modeText.size();
        }
        const std::wstring entry = modeText.substr(start, end - start);
        const size_t colon = entry.rfind(L':');
        if (colon == std::wstring::npos) {
            if (!haveFallback) {
                fallback = entry;
                haveFallback = true;
            }
        } else if (entry.compare(0, colon, arguments) == 0) {
            return entry.substr(colon + 1);
        }
        start = end + 1;
    }
    return fallback;
}

void Emit(const char* bytes, size_t size)
{
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes, static_cast<DWORD>(size), &written, nullptr);
}

void Emit(const std::string& text) { Emit(text.data(), text.size()); }

// 200 numbered lines of 50 bytes: 10000 bytes, so a reader taking at most 4095 bytes at a
// time needs at least three reads. Written in pieces of ten lines.
void EmitChunks()
{
    std::string piece;
    for (int line = 0; line < 200; ++line) {
        char text[64];
        std::snprintf(text, sizeof(text), "McUpdate output line %04d ", line);
        std::string row(text);
        row.resize(48, '.');
        piece += row + "\r\n";
        if (line % 10 == 9) {
            Emit(piece);
            piece.clear();
        }
    }
}

// 1 MiB of pseudo-random bytes (zero bytes and bytes that are no text in any code page
// among them), the same on every run, in writes of 64 KiB.
void EmitBinary()
{
    constexpr size_t kTotal = 1 << 20;
    constexpr size_t kPiece = 64 << 10;
    std::string piece(kPiece, '\0');
    unsigned int state = 20261207u;
    for (size_t done = 0; done < kTotal; done += kPiece) {
        for (char& byte : piece) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<char>(state >> 23);
        }
        Emit(piece);
    }
}

// Waits until the release file exists: a test holds the agent running as long as it likes.
void WaitForRelease(const std::wstring& program)
{
    const std::wstring path = SettingFile(kRelease, program);
    while (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ::Sleep(50);
    }
}

// Starts a copy of this program that inherits our handles, the output pipe's write end
// among them, and outlives us.
void LeaveLingeringChild(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\" " + kLingerSwitch;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

}  // namespace

int wmain()
{
    const std::wstring program = ModulePath();
    const std::wstring arguments = Arguments();
    RecordInvocation(program, arguments);
    if (arguments == kLingerSwitch) {
        ::Sleep(INFINITE);
        return 0;
    }

    const std::wstring mode = ModeFor(ReadMode(program), arguments);
    if (mode == L"quiet") {
        return 0;
    }
    if (mode == L"chunks") {
        EmitChunks();
        return 0;
    }
    if (mode == L"binary") {
        EmitBinary();
        return 0;
    }
    if (mode == L"zero") {
        static const char bytes[] = "before\0after\r\n";
        Emit(bytes, sizeof(bytes) - 1);
        return 0;
    }
    if (mode == L"fail") {
        Emit("McUpdate: the product status could not be changed.\r\n");
        return 3;
    }
    if (mode == L"hang") {
        Emit("McUpdate: waiting forever.\r\n");
        ::Sleep(INFINITE);
        return 0;
    }
    if (mode == L"hold") {
        Emit("McUpdate: held until released.\r\n");
        WaitForRelease(program);
        return 0;
    }
    if (mode == L"child") {
        LeaveLingeringChild(program);
        Emit("McUpdate: left a helper behind.\r\n");
        return 0;
    }
    // "lines", and the default when no mode is set.
    Emit("McUpdate " + Utf8(arguments) + "\r\n");
    Emit("Product status updated.\r\n");
    Emit("Done.\r\n");
    return 0;
}
