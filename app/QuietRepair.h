#pragma once
// The unattended repair for administrators: `Veskar.exe /quiet` (also /q, -quiet, -q, in any
// case) shows no window, checks the system and the running copy as a normal start does, runs
// the repair exactly as the button does (same commands, bound and failure records) and ends
// with an exit code that a deployment tool can collect. It never removes the tool's files and
// never calls the feedback library, so the executable works alone.
#include <string>
#include <vector>

class RunningCopyLock;

enum class StartMode {
    Interactive,  // no arguments: the window
    Quiet,
    Usage,        // /? : the switches in a message box
    Unknown,      // any other argument
};

// Exit codes of a start with arguments.
enum QuietExitCode : int {
    kQuietRepaired = 0,
    kQuietRepairFailed = 1,  // the agent is missing, or a command could not start or outran its bound
    kQuietUnsupportedSystem = 2,
    kQuietAnotherCopyRuns = 3,
    kQuietBadStart = 4,      // an unknown switch, or the tool cannot start
};

// The arguments after the program's name, as the command line gives them.
StartMode ParseStartMode(const std::vector<std::wstring>& arguments);
// This process's arguments after the program's name.
std::vector<std::wstring> CommandLineArguments();

// Runs the unattended repair; returns its exit code.
int RunQuietRepair(const RunningCopyLock& runningCopy);
// The switches and exit codes, in the system's message box.
void ShowUsage();
