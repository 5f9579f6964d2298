#pragma once
// Settings changed for the life of an object and restored after it: an environment variable
// of this process (which the programs it starts inherit), and a value of the user's registry
// (Wine reads its Windows version and the pixel density there).
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// An environment variable of this process; a null value removes it for the time being.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_had = false;
};

// A value under HKEY_CURRENT_USER, restored at the end (or removed when it did not exist,
// with the key when this object made it).
class ScopedUserSetting {
public:
    ScopedUserSetting(const std::wstring& key, const std::wstring& name, const std::wstring& text);
    ScopedUserSetting(const std::wstring& key, const std::wstring& name, DWORD number);
    ~ScopedUserSetting();
    ScopedUserSetting(const ScopedUserSetting&) = delete;
    ScopedUserSetting& operator=(const ScopedUserSetting&) = delete;
    bool Applied() const { return m_applied; }

private:
    void Apply(DWORD type, const BYTE* data, DWORD size);

    std::wstring m_key;
    std::wstring m_name;
    bool m_applied = false;
    bool m_createdKey = false;
    bool m_hadValue = false;
    DWORD m_oldType = 0;
    std::vector<BYTE> m_oldData;
};

}  // namespace testsupport
