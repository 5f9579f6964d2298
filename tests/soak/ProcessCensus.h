#pragma once
// What a process holds, counted from outside it: GDI and USER objects, kernel handles and
// threads. Windows answers the first two through GetGuiResources and the handle count
// through GetProcessHandleCount; Wine 8 answers 0 to all three (GetGuiResources fails with
// ERROR_CALL_NOT_IMPLEMENTED), so each count falls back to a measure Wine keeps for real:
//   GDI objects:  the live entries of the process's GDI handle table (its process environment
//                 block points at it; Wine keeps one table per process, Windows one per session);
//   USER objects: the process's windows, top-level and child, shown or hidden;
//   handles:      the handle values open in the process, probed one by one by duplicating
//                 them (Wine's process list gives the size of the handle table, which grows
//                 in steps of 32, not the handles in it);
//   threads:      the process's threads in a toolhelp snapshot, on both.
#include <windows.h>

#include <string>

namespace soak {

struct Census {
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    DWORD handles = 0;
    DWORD threads = 0;
    // Where the GDI and USER figures come from: GetGuiResources, or the fallbacks above.
    bool fromGuiResources = false;
    // False when a figure that is never 0 for a live process came out 0: it could not be taken.
    bool complete = false;

    std::string Text() const;
};

// `process` needs query, read and duplicate access (a handle from CreateProcess has them).
Census TakeCensus(HANDLE process);

// The process's threads in a toolhelp snapshot; 0 when the snapshot fails.
DWORD CountThreads(DWORD pid);
// The process's windows, top-level and child, visible or not.
DWORD CountWindows(DWORD pid);

}  // namespace soak
