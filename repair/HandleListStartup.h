#pragma once
#include <windows.h>

#include <vector>

// Start-up information for a child process that inherits exactly the handles named here and
// nothing else that is inheritable in this process (another thread's pipe, say). Everything
// else starts zeroed. Pass Info() to CreateProcess with bInheritHandles TRUE and
// EXTENDED_STARTUPINFO_PRESENT; the handles must be inheritable and outlive the call.
class HandleListStartup {
public:
    explicit HandleListStartup(std::vector<HANDLE> handles);
    ~HandleListStartup();
    HandleListStartup(const HandleListStartup&) = delete;
    HandleListStartup& operator=(const HandleListStartup&) = delete;

    // False when the list could not be made; the child must not be started then.
    bool Valid() const { return m_valid; }
    STARTUPINFOW& Info() { return m_info.StartupInfo; }

private:
    std::vector<HANDLE> m_handles;  // the attribute list points into this
    std::vector<BYTE> m_list;
    STARTUPINFOEXW m_info{};
    bool m_valid = false;
};
