#include "app/SelfRemoval.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/SystemFolders.h"
#include "repair/CFeedbackLibrary.h"

namespace {

// How many times, a second apart, the executable is tried before the removal gives up.
constexpr int kRemovalTries = 10;

// The known folders a removal never takes away.
const KNOWNFOLDERID* const kKeptFolders[] = {
    &FOLDERID_Profile, &FOLDERID_Desktop,       &FOLDERID_Downloads,       &FOLDERID_Documents,
    &FOLDERID_Public,  &FOLDERID_PublicDesktop, &FOLDERID_PublicDownloads, &FOLDERID_PublicDocuments,
};

// % expands even inside quotation marks, ! does with delayed expansion (switched off with
// /V:OFF, refused all the same), " ends the quotation, and control characters split the line.
bool SafeForInterpreter(const std::wstring& text)
{
    for (const wchar_t c : text) {
        if (c == L'%' || c == L'!' || c == L'"' || c < L' ') {
            return false;
        }
    }
    return true;
}

std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

// The folder's full path without the \\?\ prefix or a trailing backslash (a drive's root
// keeps none either: "C:"), with "." and ".." resolved and short names made long.
std::wstring NormalisedFolder(std::wstring path)
{
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
        path = L"\\\\" + path.substr(8);
    } else if (path.compare(0, 4, L"\\\\?\\") == 0) {
        path = path.substr(4);
    }
    // The backslash keeps "C:" from meaning the current folder of drive C.
    path += L'\\';
    std::wstring full(32768, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size()) {
        return std::wstring();
    }
    full.resize(length);
    std::wstring longer(32768, L'\0');
    length = ::GetLongPathNameW(full.c_str(), &longer[0], static_cast<DWORD>(longer.size()));
    if (length > 0 && length < longer.size()) {
        full.assign(longer, 0, length);
    }
    while (!full.empty() && full.back() == L'\\') {
        full.pop_back();
    }
    return full;
}

// "C:", "\\server" or "\\server\share".
bool IsRoot(const std::wstring& normalised)
{
    if (normalised.size() == 2 && normalised[1] == L':') {
        return true;
    }
    if (normalised.compare(0, 2, L"\\\\") != 0) {
        return false;
    }
    const size_t server = normalised.find(L'\\', 2);
    return server == std::wstring::npos || normalised.find(L'\\', server + 1) == std::wstring::npos;
}

bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
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

bool MayRemoveFolder(const std::wstring& folder)
{
    const std::wstring normalised = NormalisedFolder(folder);
    if (normalised.empty() || IsRoot(normalised)) {
        return false;
    }
    for (const KNOWNFOLDERID* id : kKeptFolders) {
        const std::wstring kept = KnownFolder(*id);
        if (!kept.empty() && SameFolder(normalised, NormalisedFolder(kept))) {
            return false;
        }
    }
    return true;
}

std::wstring BuildSelfRemovalParameters(const std::wstring& folder, const std::wstring& program,
                                        const std::vector<std::wstring>& companions, const std::wstring& systemFolder)
{
    if (folder.empty() || program.empty() || systemFolder.empty() || !SafeForInterpreter(folder) ||
        !SafeForInterpreter(program) || !SafeForInterpreter(systemFolder)) {
        return std::wstring();
    }
    // Once the executable is gone: the companions, then the folder (rmdir without /s removes
    // it only when it is empty).
    std::wstring afterwards;
    for (const std::wstring& file : companions) {
        if (!SafeForInterpreter(file)) {
            return std::wstring();
        }
        afterwards += L"del /f /q " + Quoted(folder + L"\\" + file) + L" & ";
    }
    if (MayRemoveFolder(folder)) {
        afterwards += L"rmdir " + Quoted(folder) + L" & ";
    }
    const std::wstring executable = Quoted(folder + L"\\" + program);
    const std::wstring timeout = Quoted(systemFolder + L"\\timeout.exe");
    // /D: no AutoRun command of the user's; /V:OFF: no delayed expansion, whatever the
    // user's registry asks for. Each try tests for the executable again after deleting it,
    // so the loop reads the same whether "&" ends an "if" (Wine's interpreter) or not.
    std::wstring parameters = L"/D /V:OFF /C (for /L %i in (1,1," + std::to_wstring(kRemovalTries) +
                              L") do (if exist " + executable + L" del /f /q " + executable + L" & if exist " +
                              executable + L" " + timeout + L" /t 1 /nobreak))";
    if (!afterwards.empty()) {
        afterwards.resize(afterwards.size() - 3);  // the last " & "
        parameters += L" & if not exist " + executable + L" (" + afterwards + L")";
    }
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
        BuildSelfRemovalParameters(folder, path.substr(slash + 1), {CFeedbackLibrary::kFileName}, system);
    if (parameters.empty()) {
        return;
    }
    // The interpreter by its full path, and working in the system folder: a current folder
    // inside the tool's folder would keep that folder from being removed.
    const std::wstring interpreter = system + L"\\cmd.exe";
    ::ShellExecuteW(nullptr, L"open", interpreter.c_str(), parameters.c_str(), system.c_str(), SW_HIDE);
}
