#include "app/SelfRemoval.h"

#include <windows.h>
#include <shellapi.h>

#include "repair/CFeedbackLibrary.h"

namespace {

bool SafeForInterpreter(const std::wstring& text)
{
    return text.find_first_of(L"%\"") == std::wstring::npos;
}

std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

std::wstring SystemFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH);
    return (length > 0 && length < MAX_PATH) ? std::wstring(buffer, length) : std::wstring();
}

// The running program's full path; empty when it cannot be read whole.
std::wstring ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::wstring BuildSelfRemovalParameters(const std::wstring& folder, const std::vector<std::wstring>& files)
{
    if (folder.empty() || !SafeForInterpreter(folder)) {
        return std::wstring();
    }
    std::wstring parameters = L"/C timeout /t 3 /nobreak";
    for (const std::wstring& file : files) {
        if (!SafeForInterpreter(file)) {
            return std::wstring();
        }
        parameters += L" & del /f /q " + Quoted(folder + L"\\" + file);
    }
    // Without /s, rmdir removes the folder only when it is empty.
    parameters += L" & rmdir " + Quoted(folder);
    return parameters;
}

void StartSelfRemoval()
{
    const std::wstring path = ModulePath();
    const size_t slash = path.find_last_of(L'\\');
    const std::wstring system = SystemFolder();
    if (slash == std::wstring::npos || system.empty()) {
        return;
    }
    const std::wstring folder = path.substr(0, slash);
    const std::wstring parameters =
        BuildSelfRemovalParameters(folder, {path.substr(slash + 1), CFeedbackLibrary::kFileName});
    if (parameters.empty()) {
        return;
    }
    // The interpreter by its full path, and working in the system folder: a current folder
    // inside the tool's folder would keep that folder from being removed.
    const std::wstring interpreter = system + L"\\cmd.exe";
    ::ShellExecuteW(nullptr, L"open", interpreter.c_str(), parameters.c_str(), system.c_str(), SW_HIDE);
}
