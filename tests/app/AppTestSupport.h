#pragma once
// What the whole-program tests share: a run of the built tool in a scratch folder of its own,
// and the few steps most tests take with it.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/app/AppDriver.h"

namespace apptest {

using namespace appdriver;

// The built tool and libraries, seen from the test program's folder (build/tests/app).
const ToolFiles& Files();

// A scratch folder and a run of the tool from it; the run ends (killed if need be) before
// the folder is removed.
class ToolSession {
public:
    // `prepare` may put files of the user's into the folder before the tool is copied there.
    explicit ToolSession(const std::wstring& label, const LaunchOptions& options = {},
                         const std::function<void(const ScratchFolder&)>& prepare = nullptr)
        : m_folder(ScratchPath(label)),
          m_prepared(Prepare(m_folder, prepare)),
          m_run(Files(), m_folder.Path(), options)
    {
    }
    ScratchFolder& Folder() { return m_folder; }
    ToolRun& Run() { return m_run; }
    ToolRun* operator->() { return &m_run; }

private:
    static bool Prepare(const ScratchFolder& folder, const std::function<void(const ScratchFolder&)>& prepare)
    {
        if (prepare) {
            prepare(folder);
        }
        return true;
    }

    ScratchFolder m_folder;
    bool m_prepared;
    ToolRun m_run;
};

// The text of a prompt window (its control 1005), as UTF-8.
std::string PromptText(HWND prompt);
// Clicks the prompt's confirm button; succeeds when the prompt has gone within a few seconds.
::testing::AssertionResult ConfirmPrompt(HWND prompt);
// What lies at a screen point and where the pointer is, for failure messages.
std::string DescribePoint(POINT screen);
// Waits until the version check, which runs once shortly after the panel is laid out, has
// asked the library; the panel is then in its idle state.
bool WaitForVersionCheck(const ToolRun& run);
// Lines of the library's journal that start with `call`.
int CountCalls(const ToolRun& run, const std::string& call);

// Where the harness installs the agent stand-in.
constexpr wchar_t kAgentPath[] = L"C:\\Program Files\\McAfee.com\\Agent\\McUpdate.exe";

// The agent out of its place for the life of the object, so that the tool cannot start its
// commands: what the tool counts as a failed repair.
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

// The repair's log file in the machine-wide application-data folder.
std::wstring RepairLogPath();
// A text as the log writes it: code page 936 bytes.
std::string Cp936(const std::wstring& text);

// The file names a folder holds when only the tool was copied into it.
std::wstring ToolFileList();
// A folder's entries joined with ", " (for messages and comparisons).
std::wstring EntryList(const ScratchFolder& folder);

}  // namespace apptest
