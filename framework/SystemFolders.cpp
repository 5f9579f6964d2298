#include "framework/SystemFolders.h"

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return (length > 0 && length < MAX_PATH) ? std::wstring(folder, length) : std::wstring();
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring folder;
    // KF_FLAG_DONT_VERIFY: a folder that does not exist (yet) still has its place.
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) {
        folder = path;
    }
    ::CoTaskMemFree(path);
    while (folder.size() > 3 && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}
