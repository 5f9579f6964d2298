#pragma once
// A run of the built tool in a scratch folder of its own, as the whole-program tests start
// it, and the steps most of them take with it: its prompts confirmed, its library's journal
// read, its windows found, its panel seen painted.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/ToolRun.h"

namespace testsupport {

// The built tool and libraries, seen from a test program's folder (build/tests/<suite>).
const ToolFiles& Files();

// A scratch folder and a run of the tool from it; the run ends (killed if need be) before
// the folder is removed.
class ToolSession {
public:
    // `prepare` may put files of the user's into the folder before the tool is copied there.
    explicit ToolSession(const std::wstring& label, const LaunchOptions& options = {},
                         const std::function<void(const ScratchFolder&)>& prepare = nullptr)
        : m_folder(ScratchPath(label)), m_prepared(Prepare(m_folder, prepare)), m_run(Files(), m_folder.Path(), options)
    {}
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

// The text of a prompt window, as UTF-8.
std::string PromptText(HWND prompt);
// Clicks the prompt's confirm button; succeeds when the prompt has gone within a few seconds.
::testing::AssertionResult ConfirmPrompt(HWND prompt);
// What lies at a screen point and where the pointer is, for failure messages.
std::string DescribePoint(POINT screen);

// Waits until the version check, which runs once shortly after the panel is laid out, has
// asked the library; the panel is then in its idle state.
bool WaitForVersionCheck(const ToolRun& run);
// Waits for the panel of a started tool and for its version check; the panel, or null with
// the reason in `why`.
HWND WaitForIdlePanel(ToolSession& tool, std::string& why);

// The lines of the feedback library's journal that name `call`, in order, and their number.
std::vector<std::string> CallsNamed(const ToolRun& run, const std::string& call);
int CountCalls(const ToolRun& run, const std::string& call);

// The file names a folder holds when only the tool was copied into it.
std::wstring ToolFileList();
// A folder's entries joined with ", " (for messages and comparisons).
std::wstring EntryList(const ScratchFolder& folder);

// The first visible top-level window of the tool of class `className` (and with window text
// `text` unless it is null) to show within `timeoutMs`.
HWND WaitForTopLevel(const ToolRun& run, const wchar_t* className, const wchar_t* text, DWORD timeoutMs);

// Whether the screen shows the panel painted, at scale 1.0: its own picture where no control
// lies, and the repair button in one of its looks over it. (The frame's picture alone looks
// like the panel's, without the controls.)
bool PanelPainted(HWND panel);
// Until the panel shows painted, and the screen over it has settled.
bool WaitForPanelPainted(HWND panel, DWORD timeoutMs = 5000);
// Waits until the prompt whose content window is `prompt` shows, both its windows visible and
// the screen over its frame settled: a prompt window exists before it shows, and the screen
// may still show there what lay beneath (the busy pop-up) while it is first painted.
bool WaitForPromptShown(HWND prompt, DWORD timeoutMs = 5000);

// The agreement bubble: its frame and content, the rich edit and the skinned bar that wraps
// it; all null while the bubble does not show.
struct AgreementWindows {
    HWND frame = nullptr;
    HWND content = nullptr;
    HWND edit = nullptr;
    HWND bar = nullptr;
};
AgreementWindows FindBubble(const ToolRun& run);

}  // namespace testsupport
