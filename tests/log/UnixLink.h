#pragma once
// A symbolic link of the host inside the Wine prefix, where a Windows program sees it as a
// reparse point, as it would see a junction or a symbolic link on Windows. Wine's own
// CreateSymbolicLinkW makes nothing, so the host's ln makes the link and its rm removes it.
#include <string>

class UnixLink {
public:
    // Makes `name` in `folder` (a Windows path with a trailing backslash) point at `target`,
    // a Unix path relative to that folder.
    UnixLink(const std::wstring& folder, const std::wstring& name, const std::wstring& target);
    // Removes the link itself, never what it points at.
    ~UnixLink();
    UnixLink(const UnixLink&) = delete;
    UnixLink& operator=(const UnixLink&) = delete;

    bool Made() const { return m_made; }

private:
    std::wstring m_folder;
    std::wstring m_name;
    bool m_made;
};
