#pragma once
// The agent stand-in as tests drive it: its mode and journal through the environment, which
// the command interpreter passes on to it.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/log/LogTestSupport.h"

const wchar_t kAgentPath[] = L"C:\\Program Files\\McAfee.com\\Agent\\McUpdate.exe";

struct Invocation {
    DWORD pid = 0;
    std::string program;
    std::string arguments;
};

// Gives the stand-in a journal of this test's own and a mode; both are cleared at the end.
class AgentSession {
public:
    explicit AgentSession(const wchar_t* mode = L"quiet");
    ~AgentSession();
    AgentSession(const AgentSession&) = delete;
    AgentSession& operator=(const AgentSession&) = delete;

    void SetMode(const wchar_t* mode);
    std::vector<Invocation> Journal() const;
    const TempFolder& Folder() const { return m_folder; }

private:
    TempFolder m_folder;
    std::wstring m_journal;
};

// True when the process has ended (or is gone altogether).
bool ProcessEnded(DWORD pid);

// The quoted agent path, a blank and the arguments: a command for RunCommand.
std::wstring AgentCommand(const std::wstring& arguments);

// A copy of the stand-in named cmd.exe, planted in a folder for the life of the object.
class PlantedInterpreter {
public:
    explicit PlantedInterpreter(const std::wstring& folder);
    ~PlantedInterpreter();
    PlantedInterpreter(const PlantedInterpreter&) = delete;
    PlantedInterpreter& operator=(const PlantedInterpreter&) = delete;
    bool Planted() const { return m_planted; }

private:
    std::wstring m_path;
    bool m_planted;
};

// The folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();
