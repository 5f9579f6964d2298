#include "tests/support/Files.h"

#include <shlobj.h>

#include <algorithm>
#include <sstream>
#include <utility>

#include "tests/support/Waits.h"

namespace testsupport {
namespace {

constexpr wchar_t kScratchBase[] = L"C:\\VeskarScratch";

DWORD Attributes(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str());
}

std::wstring UniqueTempName()
{
    static LONG counter = 0;
    return TempPath() + L"veskar-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::InterlockedIncrement(&counter)) + L"-" + std::to_wstring(::GetTickCount());
}

}  // namespace

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring file(path);
    return file.substr(0, file.rfind(L'\\') + 1);
}

std::wstring BesideProgram(const std::wstring& relative)
{
    const std::wstring joined = ProgramFolder() + relative;
    wchar_t full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameW(joined.c_str(), MAX_PATH, full, nullptr);
    return (length > 0 && length < MAX_PATH) ? std::wstring(full, length) : joined;
}

std::wstring TempPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

std::wstring CommonAppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE);
    return folder;
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PathExists(const std::wstring& path)
{
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

uint64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
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

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

void MakeFolders(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(path.c_str(), nullptr);
}

bool RemoveTree(const std::wstring& path)
{
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
        return !PathExists(path);
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        for (const std::wstring& name : FolderEntries(path)) {
            RemoveTree(path + L"\\" + name);
        }
    }
    ::RemoveDirectoryW(path.c_str());
    return !PathExists(path);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
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
    return WriteBytes(File(name), text);
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

TempFolder::TempFolder() : m_folder(UniqueTempName()) {}

}  // namespace testsupport
