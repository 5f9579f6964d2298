#pragma once
// What the end-to-end flows share: screenshots of each step of a flow, the tool's windows as
// the screen shows them (found by their controls, texts and classes), and the few kinds of
// real input the driver itself does not offer (key chords, the wheel, a slow press and drag).
#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/AppTestSupport.h"
#include "tests/app/ScreenImage.h"

namespace e2e {

using namespace apptest;

// The screenshots of one flow, in out/e2e/<flow>/ at the repository root, named by step in
// the order they are taken: 01-main.png, 02-busy.png ... Earlier screenshots of the flow are
// removed when it starts.
class FlowShots {
public:
    explicit FlowShots(const std::string& flow);

    // What the screen shows around every visible window of the tool (grown by a margin, so
    // that shadows show whole); false when nothing could be saved.
    bool Tool(const std::string& step, const ToolRun& run);
    // What the screen shows in `area`.
    bool Area(const std::string& step, const RECT& area);
    bool Screen(const std::string& step);
    // The file of the next step, for a picture saved more than once while it changes.
    std::wstring Next(const std::string& step);

private:
    std::wstring m_folder;
    int m_taken = 0;
};

// The repository's out/e2e folder, from the test program's place in the build folder.
std::wstring ShotsRoot();

// The visible top-level windows of a process, topmost first.
std::vector<HWND> VisibleWindows(DWORD pid);
// The smallest rectangle around all of them; empty when there are none.
RECT Bounds(const std::vector<HWND>& windows);
// The first visible top-level window of the process of class `className` (and with window
// text `text` unless it is null) to show within `timeoutMs`.
HWND WaitForTopLevel(const ToolRun& run, const wchar_t* className, const wchar_t* text, DWORD timeoutMs);
std::wstring ClassName(HWND window);

// The frame (the owner) of a pop-up's content, or the window itself when it has no owner.
HWND FrameOf(HWND content);

// A key pressed while `modifier` is held (Alt+Space: VK_MENU, VK_SPACE).
void PressChord(WORD modifier, WORD key);
// Turns the wheel under the pointer by `notches` (negative: towards the user, scrolling down).
void TurnWheel(int notches);
// Presses at `from`, moves to `to` in steps (each one awaited) and, unless `release` is false,
// releases there; false when the pointer did not follow.
bool PressAndDrag(POINT from, POINT to, bool release = true);

// BM_GETCHECK of a control of another process, bounded.
LRESULT CheckState(HWND dialog, int id);
// EM_GETFIRSTVISIBLELINE of a rich edit of another process, bounded; -1 when it did not answer.
int FirstVisibleLine(HWND edit);

// The lines of the feedback library's journal that start with `call`, in order.
std::vector<std::string> CallsNamed(const ToolRun& run, const std::string& call);
// The tab-separated fields of a journal line.
std::vector<std::string> Fields(const std::string& line);

std::string RectText(const RECT& rect);

// Whether the screen shows the panel painted, at scale 1.0: its own picture (PNG 139) where no
// control lies, and the repair button in one of its looks over it. (The frame's picture
// alone looks like the panel's, without the controls.)
bool PanelPainted(HWND panel);
// Waits (bounded) until it does.
bool WaitForPanelPainted(HWND panel, DWORD timeoutMs = 5000);

// Waits for the panel of a started tool and for its version check, after which the main
// window is idle; the panel, or null with the reason in `why`.
HWND WaitForIdlePanel(ToolSession& tool, std::string& why);

}  // namespace e2e
