#include "tests/support/ToolSession.h"

#include <algorithm>

#include "controls/CSkinScrollWnd.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Text.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

namespace testsupport {
namespace {

// A part of the panel (client coordinates at scale 1.0) where no control lies over its
// picture: the title and the shield.
constexpr RECT kBareArea{10, 40, 390, 250};

}  // namespace

const ToolFiles& Files()
{
    static const ToolFiles files = BuildFiles(L"..\\..\\");
    return files;
}

std::string PromptText(HWND prompt)
{
    return Utf8(ControlText(prompt, kPromptMarker));
}

::testing::AssertionResult ConfirmPrompt(HWND prompt)
{
    const POINT ok = Centre(ControlScreenRect(prompt, IDC_PROMPT_OK));
    if (!ClickControl(prompt, IDC_PROMPT_OK)) {
        return ::testing::AssertionFailure() << "the pointer did not reach the confirm button; " << DescribePoint(ok);
    }
    if (!WaitUntil([prompt] { return !::IsWindow(prompt) || !::IsWindowVisible(prompt); }, 5000)) {
        return ::testing::AssertionFailure()
               << "the prompt stayed after its confirm button was clicked; " << DescribePoint(ok);
    }
    return ::testing::AssertionSuccess();
}

std::string DescribePoint(POINT screen)
{
    HWND window = ::WindowFromPoint(screen);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    POINT pointer{};
    ::GetCursorPos(&pointer);
    return "at (" + std::to_string(screen.x) + ", " + std::to_string(screen.y) + ") lies window " +
           std::to_string(reinterpret_cast<UINT_PTR>(window)) + " (control " + std::to_string(::GetDlgCtrlID(window)) +
           ") of process " + std::to_string(pid) + "; the pointer is at (" + std::to_string(pointer.x) + ", " +
           std::to_string(pointer.y) + ")";
}

bool WaitForVersionCheck(const ToolRun& run)
{
    return WaitUntil([&run] { return CountCalls(run, "GetToolIsNewVersion") > 0; }, 5000, 20);
}

HWND WaitForIdlePanel(ToolSession& tool, std::string& why)
{
    if (!tool->Started()) {
        why = tool->Error();
        return nullptr;
    }
    HWND panel = tool->WaitForPanel();
    if (!panel) {
        why = "the main window did not show";
        return nullptr;
    }
    if (!WaitForVersionCheck(tool.Run())) {
        why = "the version check did not run";
        return nullptr;
    }
    return panel;
}

std::vector<std::string> CallsNamed(const ToolRun& run, const std::string& call)
{
    std::vector<std::string> calls;
    for (const std::string& line : run.FeedbackCalls()) {
        if (Fields(line).front() == call) {
            calls.push_back(line);
        }
    }
    return calls;
}

int CountCalls(const ToolRun& run, const std::string& call)
{
    return static_cast<int>(CallsNamed(run, call).size());
}

std::wstring ToolFileList()
{
    return std::wstring(CFeedbackLibrary::kFileName) + L", Veskar.exe";
}

std::wstring EntryList(const ScratchFolder& folder)
{
    std::wstring list;
    for (const std::wstring& entry : folder.Entries()) {
        list += (list.empty() ? L"" : L", ") + entry;
    }
    return list;
}

HWND WaitForTopLevel(const ToolRun& run, const wchar_t* className, const wchar_t* text, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindows(run.ProcessId())) {
                if (ClassName(window) == className && (!text || WindowText(window) == text)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool PanelPainted(HWND panel)
{
    static const Image picture = ResourcePng(Files().tool, kPanelPicture);
    const RECT panelRect = WindowScreenRect(panel);
    if (picture.Empty() || panelRect.right - panelRect.left != picture.width) {
        return false;
    }
    Image slice;
    slice.width = kBareArea.right - kBareArea.left;
    slice.height = kBareArea.bottom - kBareArea.top;
    for (int y = kBareArea.top; y < kBareArea.bottom; ++y) {
        for (int x = kBareArea.left; x < kBareArea.right; ++x) {
            slice.pixels.push_back(picture.At(x, y));
        }
    }
    if (ShareShowing(slice, Offset(kBareArea, panelRect.left, panelRect.top)) < 0.9) {
        return false;
    }
    static const Image repairLooks[] = {ResourcePng(Files().tool, kRepairNormalImage),
                                        ResourcePng(Files().tool, kRepairHoverImage),
                                        ResourcePng(Files().tool, kRepairDisabledImage)};
    const RECT repair = ControlScreenRect(panel, kPanelMarker);
    return std::any_of(std::begin(repairLooks), std::end(repairLooks),
                       [&](const Image& look) { return ShareShowing(look, repair) > 0.9; });
}

bool WaitForPanelPainted(HWND panel, DWORD timeoutMs)
{
    // Settled too: the screen may still show a pop-up just closed over the panel's lower part.
    return WaitUntil([panel] { return PanelPainted(panel); }, timeoutMs, 50) &&
           WaitForSteadyArea(WindowScreenRect(panel), timeoutMs, 150);
}

bool WaitForPromptShown(HWND prompt, DWORD timeoutMs)
{
    // The frame lies around the content, shadow and all.
    HWND frame = ::GetWindow(prompt, GW_OWNER);
    return WaitUntil([&] { return ::IsWindowVisible(prompt) && frame && ::IsWindowVisible(frame); }, timeoutMs, 20) &&
           WaitForSteadyArea(WindowScreenRect(frame), timeoutMs, 150);
}

AgreementWindows FindBubble(const ToolRun& run)
{
    AgreementWindows bubble;
    const std::vector<HWND> contents = run.WindowsWith(kAgreementMarker);
    if (contents.empty()) {
        return bubble;
    }
    bubble.content = contents.front();
    bubble.frame = FrameOf(bubble.content);
    // The skinned scroll frame takes over the rich edit's id and wraps the edit in its limit
    // window, beside its bars.
    HWND scrollFrame = ::GetDlgItem(bubble.content, kAgreementMarker);
    bubble.edit = ::GetWindow(::GetDlgItem(scrollFrame, CSkinScrollWnd::kLimitId), GW_CHILD);
    bubble.bar = ::GetDlgItem(scrollFrame, CSkinScrollWnd::kVerticalBarId);
    return bubble;
}

}  // namespace testsupport
