#include "tests/soak/RepairDriving.h"

#include "tests/soak/ProcessCensus.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>

namespace soak {

RepairOutcome ClickRepair(const ToolRun& run, HWND panel, DWORD timeoutMs)
{
    RepairOutcome outcome;
    auto watch = [&] {
        outcome.sawBusyPopup = outcome.sawBusyPopup || !run.WindowsWith(kBusyMarker).empty();
        outcome.peakThreads = std::max(outcome.peakThreads, CountThreads(run.ProcessId()));
        const std::vector<HWND> prompts = run.WindowsWith(kPromptMarker);
        outcome.prompt = prompts.empty() || !PromptReady(prompts.front()) ? nullptr : prompts.front();
        return outcome.prompt != nullptr || !run.Running();
    };
    outcome.clicked = ClickControl(panel, kPanelMarker);
    if (outcome.clicked) {
        WaitUntil(watch, timeoutMs, 5);
    }
    return outcome;
}

bool BubbleShowing(const ToolRun& run)
{
    return !run.WindowsWith(kAgreementMarker).empty();
}

bool ClickAgreementLink(const ToolRun& run, HWND panel, bool shown)
{
    const RECT link = ControlScreenRect(panel, IDC_AGREEMENT_LINK);
    // Showing and hiding click at different places of the text: two clicks at one place in
    // quick succession are a double click, which the panel does not take as a click.
    const int x = link.left + (link.right - link.left) * (shown ? 1 : 2) / 3;
    if (!ClickAt(POINT{x, (link.top + link.bottom) / 2})) {
        return false;
    }
    return WaitUntil([&] { return BubbleShowing(run) == shown; }, 3000, 5);
}

int EndAgentProcesses(const ToolRun& run)
{
    std::vector<DWORD> agents;
    for (const std::string& line : run.AgentCalls()) {
        agents.push_back(static_cast<DWORD>(std::strtoul(line.c_str(), nullptr, 10)));
    }
    // Each agent's parent is the interpreter the tool started for it; a process id the system
    // has given to another program since is left alone.
    std::vector<DWORD> victims;
    std::vector<PROCESSENTRY32W> processes;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32W entry{sizeof(entry)};
        for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
            processes.push_back(entry);
        }
        ::CloseHandle(snapshot);
    }
    for (const PROCESSENTRY32W& agent : processes) {
        if (std::find(agents.begin(), agents.end(), agent.th32ProcessID) == agents.end() ||
            lstrcmpiW(agent.szExeFile, L"McUpdate.exe") != 0) {
            continue;
        }
        victims.push_back(agent.th32ProcessID);
        for (const PROCESSENTRY32W& parent : processes) {
            if (parent.th32ProcessID == agent.th32ParentProcessID && lstrcmpiW(parent.szExeFile, L"cmd.exe") == 0) {
                victims.push_back(parent.th32ProcessID);
            }
        }
    }
    int ended = 0;
    for (DWORD pid : victims) {
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (process && ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT && ::TerminateProcess(process, 1)) {
            ::WaitForSingleObject(process, 5000);
            ++ended;
        }
        if (process) {
            ::CloseHandle(process);
        }
    }
    return ended;
}

}  // namespace soak
