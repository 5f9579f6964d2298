#pragma once
// One running copy of the tool per session: the first start holds a named mutex for its life;
// a second start finds it taken, brings the running tool to the front and ends.
#include <windows.h>

#include "framework/Handles.h"

class RunningCopyLock {
public:
    RunningCopyLock();
    RunningCopyLock(const RunningCopyLock&) = delete;
    RunningCopyLock& operator=(const RunningCopyLock&) = delete;

    // False when another copy of the tool holds the lock.
    bool IsFirst() const { return m_first; }

private:
    UniqueHandle m_mutex;
    bool m_first = false;
};

// Brings the running copy's main window, or the pop-up it shows in front of it, to the front
// (restored when minimised). False when no such window was found.
bool BringRunningCopyToFront();
