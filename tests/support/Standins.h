#pragma once
// The stand-ins of what lies outside the tool, as tests drive them: the agent (McUpdate.exe,
// installed by the harness where the tool runs it) takes its mode and its journal from the
// environment, which the command interpreter passes on; the feedback library keeps a journal
// of its calls where the environment says.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/Settings.h"

namespace testsupport {

// One run of the agent, as its journal keeps it: "<pid>\t<program>\t<arguments>".
struct AgentRun {
    DWORD pid = 0;
    std::string program;
    std::string arguments;
};
// The runs of the agent's journal lines, in order. A line of another shape gives a run whose
// arguments are the whole line, so that it shows in comparisons.
std::vector<AgentRun> AgentRuns(const std::vector<std::string>& journalLines);

// The agent out of its place for the life of the object, so that nothing can start it: what
// the tool counts as a failed repair.
class AgentAway {
public:
    AgentAway();
    ~AgentAway();
    AgentAway(const AgentAway&) = delete;
    AgentAway& operator=(const AgentAway&) = delete;
    bool Moved() const { return m_moved; }

private:
    std::wstring m_away;
    bool m_moved = false;
};

// Gives the agent run from this process a journal of this test's own and a mode (see the
// stand-in's README; null: its default); both are cleared at the end.
class AgentSession {
public:
    explicit AgentSession(const wchar_t* mode = L"quiet");
    ~AgentSession();
    AgentSession(const AgentSession&) = delete;
    AgentSession& operator=(const AgentSession&) = delete;

    void SetMode(const wchar_t* mode);
    std::vector<AgentRun> Journal() const { return AgentRuns(ReadLines(m_journal)); }
    const TempFolder& Folder() const { return m_folder; }

private:
    TempFolder m_folder;
    std::wstring m_journal;
};

// The quoted agent path, a blank and the arguments: a command line that runs the agent.
std::wstring AgentCommand(const std::wstring& arguments);

// A copy of the agent named cmd.exe, planted in a folder (with a trailing backslash) for the
// life of the object.
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

// Whether a process has ended (or is gone altogether), granting it `graceMs` to end.
bool ProcessEnded(DWORD pid, DWORD graceMs);

// The feedback library's call journal, named for this process while the object lives: one
// line per call, the call's name and its arguments separated by tabs.
class CallJournal {
public:
    CallJournal();
    ~CallJournal();
    CallJournal(const CallJournal&) = delete;
    CallJournal& operator=(const CallJournal&) = delete;
    std::vector<std::string> Lines() const { return ReadLines(m_path); }

private:
    std::wstring m_path;
    ScopedVariable m_variable;
};

}  // namespace testsupport
