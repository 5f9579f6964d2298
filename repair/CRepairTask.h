#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "framework/Handles.h"
#include "repair/RunCommand.h"

// The repair: runs the McAfee agent's two commands on a worker thread and reports the
// outcome to the notify window (WM_CLOSE_PROGRESS, then WM_REPAIR_RESULT, both sent).
// Failures go to the log once the window's result handler has returned. One repair runs at
// a time.
class CRepairTask {
public:
    // commandTimeoutMs bounds each of the two commands (with everything it starts).
    explicit CRepairTask(DWORD commandTimeoutMs = kCommandTimeoutMs);
    // Detaches a worker that still runs (see Detach).
    ~CRepairTask();
    CRepairTask(const CRepairTask&) = delete;
    CRepairTask& operator=(const CRepairTask&) = delete;

    // Refuses a null window; otherwise stores it for every later repair.
    bool SetNotifyWindow(HWND window);
    // True exactly on Windows 10.0, as the process environment block records the version.
    bool IsSupportedSystem() const;
    // Starts the worker thread; false when a repair is running already or the thread could
    // not be created (that failure is logged).
    bool StartRepair();
    // Whether a worker has been started and has not finished (its log line included).
    bool IsRunning() const;
    // The repair itself, on the worker thread: true when both commands ran.
    bool DoRepair();
    // The notify window goes: nothing more is sent to it, and a running worker is waited for
    // up to `boundMs`, while what it is sending at that moment is delivered (its handlers are
    // expected to return at once by then). A worker still running after the bound keeps what
    // it uses alive by itself and writes no more log records.
    void Detach(DWORD boundMs = kDetachBoundMs);

    static constexpr DWORD kDetachBoundMs = 5000;

private:
    struct Shared;
    static DWORD WINAPI ThreadProc(LPVOID param);

    // Shared with the worker, which holds its own reference while it runs.
    std::shared_ptr<Shared> m_shared;
    UniqueHandle m_worker;
};
