#include "tests/support/Standins.h"

#include <cstdlib>

#include "tests/support/Text.h"
#include "tests/support/Tool.h"
#include "tests/support/Waits.h"

namespace testsupport {
namespace {

// Renames the agent, retrying for a moment: a process that has only just ended may still
// hold the file under Wine, and a failed rename would turn the next repair's outcome round.
bool MoveAgent(const std::wstring& from, const std::wstring& to)
{
    return WaitUntil(
        [&] {
            return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE ||
                   (!PathExists(from) && PathExists(to));
        },
        5000, 20);
}

}  // namespace

std::vector<AgentRun> AgentRuns(const std::vector<std::string>& journalLines)
{
    std::vector<AgentRun> runs;
    for (const std::string& line : journalLines) {
        const std::vector<std::string> fields = Fields(line);
        AgentRun run;
        run.pid = static_cast<DWORD>(std::strtoul(line.c_str(), nullptr, 10));
        if (fields.size() < 3) {
            run.arguments = line;
        } else {
            run.program = fields[1];
            run.arguments = line.substr(fields[0].size() + fields[1].size() + 2);
        }
        runs.push_back(run);
    }
    return runs;
}

AgentAway::AgentAway() : m_away(std::wstring(kAgentPath) + L".away")
{
    m_moved = MoveAgent(kAgentPath, m_away);
}

AgentAway::~AgentAway()
{
    if (m_moved) {
        MoveAgent(m_away, kAgentPath);
    }
}

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

void AgentSession::SetMode(const wchar_t* mode)
{
    ::SetEnvironmentVariableW(L"MCUPDATE_STANDIN_MODE", mode);
}

std::wstring AgentCommand(const std::wstring& arguments)
{
    return std::wstring(L"\"") + kAgentPath + L"\" " + arguments;
}

PlantedInterpreter::PlantedInterpreter(const std::wstring& folder)
    : m_path(folder + L"cmd.exe"), m_planted(::CopyFileW(kAgentPath, m_path.c_str(), FALSE) != FALSE)
{}

PlantedInterpreter::~PlantedInterpreter()
{
    ::DeleteFileW(m_path.c_str());
}

bool ProcessEnded(DWORD pid, DWORD graceMs)
{
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr) {
        return true;
    }
    const bool ended = ::WaitForSingleObject(process, graceMs) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

CallJournal::CallJournal()
    : m_path(TempPath() + L"veskar-journal-" + std::to_wstring(::GetCurrentProcessId()) + L".txt"),
      m_variable(L"VESKAR_FEEDBACK_JOURNAL", m_path.c_str())
{
    ::DeleteFileW(m_path.c_str());
}

CallJournal::~CallJournal()
{
    ::DeleteFileW(m_path.c_str());
}

}  // namespace testsupport
