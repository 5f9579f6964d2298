#pragma once
#include <string>

#include "framework/Handles.h"

// The log folder, made with a descriptor of its own (SYSTEM and Administrators full control,
// Users read and execute, nothing inherited from the parent) or, when it was there already,
// checked: a link to elsewhere, or a folder owned by anyone but Administrators or SYSTEM, is
// somebody else's and is not used. A usable folder is held open without delete sharing, so
// that nobody can move it away and put a link in its place while the log uses it.
class LogFolder {
public:
    // `path` without a trailing backslash.
    explicit LogFolder(const std::wstring& path);
    LogFolder(const LogFolder&) = delete;
    LogFolder& operator=(const LogFolder&) = delete;

    bool Usable() const { return m_folder.Valid(); }

private:
    UniqueHandle m_folder;
};

// Whether the attributes (of a path or an open handle) say it is a link of some kind.
inline bool IsReparsePoint(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
