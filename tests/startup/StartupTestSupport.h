#pragma once
// Helpers of the start-up tests: paths beside the test program, environment settings that
// undo themselves, scratch folders and UTF-8 line files.
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

namespace startup_test {

// The test program's folder with a trailing backslash.
inline std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

inline std::wstring TempFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

// Sets an environment variable for this process and restores it at scope end.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name)
    {
        wchar_t old[1024];
        DWORD length = ::GetEnvironmentVariableW(name, old, 1024);
        m_had = length > 0 && length < 1024;
        if (m_had) {
            m_old = old;
        }
        ::SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(m_name.c_str(), m_had ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_had = false;
};

// A whole file's bytes; empty when it cannot be read.
inline std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes(::GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// The lines of a UTF-8 file; none when it does not exist.
inline std::vector<std::string> ReadLines(const std::wstring& path)
{
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// The stand-in library's call journal, named for this process while the object lives.
class CallJournal {
public:
    CallJournal()
        : m_path(TempFolder() + L"veskar-journal-" + std::to_wstring(::GetCurrentProcessId()) + L".txt"),
          m_variable(L"VESKAR_FEEDBACK_JOURNAL", m_path.c_str())
    {
        ::DeleteFileW(m_path.c_str());
    }
    ~CallJournal() { ::DeleteFileW(m_path.c_str()); }
    std::vector<std::string> Lines() const { return ReadLines(m_path); }

private:
    std::wstring m_path;
    ScopedVariable m_variable;
};

} // namespace startup_test
