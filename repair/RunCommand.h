#pragma once
#include <windows.h>

#include <string>

// How long a command, with everything it started, may run before it is ended.
constexpr DWORD kCommandTimeoutMs = 10 * 60 * 1000;

// Runs "cmd /D /C " + command hidden, through the command interpreter of the system folder and
// working there, with standard input from the null device and no handle of ours but its
// output pipe, and appends what it writes to standard output and error to `output` (ANSI
// code page).
// True when the command was started, its output was drained and it ended by itself within
// timeoutMs; its exit code decides nothing. A command that outlives the bound is ended
// together with every process it started, and counts as failed.
bool RunCommand(std::wstring command, std::wstring& output, DWORD timeoutMs = kCommandTimeoutMs);
