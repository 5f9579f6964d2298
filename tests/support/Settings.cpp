#include "tests/support/Settings.h"

namespace testsupport {

ScopedVariable::ScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name)
{
    wchar_t old[1024];
    const DWORD length = ::GetEnvironmentVariableW(name, old, 1024);
    m_had = length > 0 && length < 1024;
    if (m_had) {
        m_old = old;
    }
    ::SetEnvironmentVariableW(name, value);
}

ScopedVariable::~ScopedVariable()
{
    ::SetEnvironmentVariableW(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
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
        m_hadValue =
            ::RegQueryValueExW(key, m_name.c_str(), nullptr, &m_oldType, m_oldData.data(), &oldSize) == ERROR_SUCCESS;
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

}  // namespace testsupport
