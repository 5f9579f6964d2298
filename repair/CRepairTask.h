#pragma once
#include <windows.h>

#include <string>

#include "repair/RunCommand.h"

// The repair: runs the McAfee agent's two commands on a worker thread and reports the
// outcome to the notify window (WM_CLOSE_PROGRESS, then WM_REPAIR_RESULT, both sent).
// Failures go to the log once the window's result handler has returned.
class CRepairTask {
public:
    // commandTimeoutMs bounds each of the two commands (with everything it starts).
    explicit CRepairTask(DWORD commandTimeoutMs = kCommandTimeoutMs) : m_commandTimeoutMs(commandTimeoutMs) {}

    // Refuses a null window; otherwise stores it for every later repair.
    bool SetNotifyWindow(HWND window);
    // True exactly on Windows 10.0, as the process environment block records the version.
    bool IsSupportedSystem() const;
    // Starts the worker thread (never joined); false when it could not be created.
    bool StartRepair();
    // The repair itself, on the worker thread: true when both commands ran.
    bool DoRepair();

private:
    bool RunAgentCommand(const wchar_t* agentSwitch, std::wstring& output) const;
    void ReportOutcome(WPARAM result) const;

    HWND m_notifyWindow = nullptr;  // the panel's; written before any worker exists
    const DWORD m_commandTimeoutMs;
};

// Entry routine of the worker thread; the parameter is the CRepairTask.
DWORD WINAPI RepairThreadProc(LPVOID param);
