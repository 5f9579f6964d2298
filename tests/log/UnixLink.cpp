#include "tests/log/UnixLink.h"

#include <windows.h>

namespace {

// Runs a program of the host in `folder`. Wine hands back no process for it, so this waits
// for its effect on `path` instead, for five seconds at most.
bool RunOnHost(const wchar_t* program, std::wstring commandLine, const std::wstring& folder,
               bool (*done)(const std::wstring&), const std::wstring& path)
{
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &process)) {
        return false;
    }
    for (int wait = 0; wait < 500 && !done(path); ++wait) {
        ::Sleep(10);
    }
    return done(path);
}

bool IsLink(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsGone(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

UnixLink::UnixLink(const std::wstring& folder, const std::wstring& name, const std::wstring& target)
    : m_folder(folder),
      m_name(name),
      m_made(RunOnHost(L"Z:\\bin\\ln", L"ln -s \"" + target + L"\" \"" + name + L"\"", folder, &IsLink, folder + name))
{
}

UnixLink::~UnixLink()
{
    if (m_made) {
        RunOnHost(L"Z:\\bin\\rm", L"rm -f \"" + m_name + L"\"", m_folder, &IsGone, m_folder + m_name);
    }
}
