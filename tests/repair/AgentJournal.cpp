#include "tests/repair/AgentJournal.h"

AgentSession::AgentSession(const wchar_t* mode) : m_journal(m_folder.Path() + L"journal.txt")
{
    ::SetEnvironmentVariableW(L"MCUPDATE_STANDIN_JOURNAL", m_journal.c_str());
    SetMode(mode);
}

AgentSession::~AgentSession()
{
    ::SetEnvironmentVariableW(L"MCUPDATE_STANDIN_JOURNAL", nullptr);
    ::SetEnvironmentVariableW(L"MCUPDATE_STANDIN_MODE", nullptr);
}

void AgentSession::SetMode(const wchar_t* mode) { ::SetEnvironmentVariableW(L"MCUPDATE_STANDIN_MODE", mode); }

std::vector<Invocation> AgentSession::Journal() const
{
    std::vector<Invocation> entries;
    for (const std::string& line : SplitRecords(ReadBytes(m_journal))) {
        const size_t first = line.find('\t');
        const size_t second = line.find('\t', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            continue;
        }
        Invocation entry;
        entry.pid = std::stoul(line.substr(0, first));
        entry.program = line.substr(first + 1, second - first - 1);
        entry.arguments = line.substr(second + 1);
        entries.push_back(entry);
    }
    return entries;
}

bool ProcessEnded(DWORD pid)
{
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr) {
        return true;
    }
    // A moment's grace: ending a job's processes is not instantaneous.
    const bool ended = ::WaitForSingleObject(process, 2000) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

std::wstring AgentCommand(const std::wstring& arguments)
{
    return std::wstring(L"\"") + kAgentPath + L"\" " + arguments;
}

PlantedInterpreter::PlantedInterpreter(const std::wstring& folder)
    : m_path(folder + L"cmd.exe"), m_planted(::CopyFileW(kAgentPath, m_path.c_str(), FALSE) != FALSE)
{
}

PlantedInterpreter::~PlantedInterpreter() { ::DeleteFileW(m_path.c_str()); }

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}
