#include "log/LogFolder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

namespace {

// Owner Administrators; SYSTEM and Administrators full control, Users read and execute, for
// the folder and everything in it; protected from what the parent would pass on (in
// ProgramData, the right of every user to create files and folders).
const wchar_t kFolderDescriptor[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)";

// Makes the folder with that descriptor; true when something by its name is there afterwards,
// made now or there before.
bool MakeProtectedFolder(const std::wstring& path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderDescriptor, SDDL_REVISION_1, &descriptor,
                                                                nullptr)) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    const bool there = ::CreateDirectoryW(path.c_str(), &attributes) || ::GetLastError() == ERROR_ALREADY_EXISTS;
    ::LocalFree(descriptor);
    return there;
}

// Wine keeps no owners: whatever descriptor a file was made with, it reports every file of
// the Unix account that runs it as owned by that account's user, and it has no elevation to
// guard against. There, and only there, the process's own user stands in for the
// administrators.
bool RunningUnderWine()
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool IsProcessUser(PSID sid)
{
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put())) {
        return false;
    }
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    return size > 0 && ::GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size) &&
           ::EqualSid(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, sid);
}

bool HasTrustedOwner(HANDLE folder)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                          &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool trusted = ::IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                         ::IsWellKnownSid(owner, WinLocalSystemSid) || (RunningUnderWine() && IsProcessUser(owner));
    ::LocalFree(descriptor);
    return trusted;
}

// A plain folder, not a link: the path is asked as well as the handle, since Wine shows a
// link only on its path (it opens what the link points to even when asked not to).
bool IsPlainFolder(const std::wstring& path, HANDLE folder)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    return ::GetFileInformationByHandle(folder, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !IsReparsePoint(info.dwFileAttributes) && !IsReparsePoint(::GetFileAttributesW(path.c_str()));
}

}  // namespace

LogFolder::LogFolder(const std::wstring& path)
{
    if (!MakeProtectedFolder(path)) {
        return;
    }
    // Whether made just now or there before: someone may have been quicker.
    UniqueHandle folder(::CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (folder.Valid() && IsPlainFolder(path, folder.Get()) && HasTrustedOwner(folder.Get())) {
        m_folder = std::move(folder);
    }
}
