#pragma once
// A process the command runner started, read from outside while it runs: its parent, what it
// was started with (command line, current folder, standard input) and which of our objects
// it holds.
#include <windows.h>

#include <string>

// The process that started `pid`, from the system's process list; 0 when it is not listed.
DWORD ParentProcessId(DWORD pid);

struct StartParameters {
    std::wstring commandLine;
    std::wstring currentFolder;      // with a trailing backslash
    HANDLE standardInput = nullptr;  // a handle of that process
};

// Reads the parameters from the process's environment block; false when it cannot.
bool ReadStartParameters(HANDLE process, StartParameters& parameters);

// Whether the process holds `ours` under the same value, as an inherited handle would be.
bool HoldsInherited(HANDLE process, HANDLE ours);

// The name of the object behind a handle of the process (the null device's, say); empty
// when it has none or cannot be read.
std::wstring ObjectName(HANDLE process, HANDLE handle);
