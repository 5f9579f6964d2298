// The repair as a user meets it: the busy pop-up while the agent runs, then the success or
// the failure prompt, whose buttons carry names for screen readers; started by a click or by
// Space on the focused button; and the agreement check box, without which the repair button
// does nothing.
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/FlowShots.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Standins.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

const std::string kSucceeded = Utf8(kTextRepairSucceeded);
const std::string kFailed = Utf8(kTextRepairFailed);

struct RepairSeen {
    bool busyShot = false;  // the busy pop-up was on the screen and saved
    bool busyGoneAtPrompt = false;
    HWND prompt = nullptr;
};

// Starts the repair (a click on the repair button unless `start` is given) and follows what
// shows until the result prompt is laid out, saving the busy pop-up (the last picture taken
// while it was on the screen) and the prompt.
RepairSeen RepairAndWatch(ToolSession& tool, HWND panel, FlowShots& shots,
                          const std::function<bool()>& start = nullptr)
{
    RepairSeen seen;
    if (!(start ? start() : ClickControl(panel, kPanelMarker))) {
        return seen;
    }
    std::wstring busyPath;  // named when first saved
    WaitUntil(
        [&] {
            const std::vector<HWND> busy = tool->WindowsWith(kBusyMarker);
            if (!busy.empty()) {
                const Image shot = CaptureScreen(Grown(Bounds({busy.front(), FrameOf(busy.front())}), 12));
                if (::IsWindowVisible(busy.front()) && ::IsWindowVisible(FrameOf(busy.front()))) {
                    if (busyPath.empty()) {
                        busyPath = shots.Next("busy");
                    }
                    seen.busyShot = SavePng(shot, busyPath) || seen.busyShot;
                }
            }
            const std::vector<HWND> prompts = tool->WindowsWith(kPromptMarker);
            seen.prompt = prompts.empty() || !PromptReady(prompts.front()) ? nullptr : prompts.front();
            return seen.prompt != nullptr;
        },
        30000, 5);
    seen.busyGoneAtPrompt = tool->WindowsWith(kBusyMarker).empty();
    return seen;
}

}  // namespace

TEST(RepairFlows, ARepairShowsTheBusyPopupThenTheSuccessPrompt)
{
    FlowShots shots("repair-success");
    ToolSession tool(L"repair-success");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    EXPECT_TRUE(shots.Tool("main", tool.Run()));

    const RepairSeen seen = RepairAndWatch(tool, panel, shots);
    ASSERT_NE(nullptr, seen.prompt) << "no result prompt";
    EXPECT_TRUE(seen.busyShot) << "the busy pop-up was not seen on the screen";
    EXPECT_TRUE(seen.busyGoneAtPrompt) << "the busy pop-up stays under the result";
    EXPECT_EQ(kSucceeded, PromptText(seen.prompt));
    EXPECT_EQ("确认", Utf8(ControlText(seen.prompt, IDC_PROMPT_OK)));
    EXPECT_EQ("取消", Utf8(ControlText(seen.prompt, IDC_PROMPT_CANCEL))) << "named though hidden";
    EXPECT_EQ("关闭", Utf8(ControlText(seen.prompt, IDC_CLOSE)));
    EXPECT_NE(0, Ask(seen.prompt, WM_QUERYUISTATE) & UISF_HIDEFOCUS) << "a prompt after a click shows no focus cue";
    EXPECT_TRUE(WaitForPromptShown(seen.prompt)) << "the screen does not show the result prompt";
    EXPECT_TRUE(shots.Tool("success-prompt", tool.Run()));

    const std::vector<std::string> runs = tool->AgentCalls();
    ASSERT_EQ(2u, runs.size());
    EXPECT_EQ("/removeproductsstatus", Fields(runs[0]).back());
    EXPECT_EQ("/submitproductsstatus", Fields(runs[1]).back());

    EXPECT_TRUE(ConfirmPrompt(seen.prompt));
    EXPECT_TRUE(tool->Running());
    EXPECT_TRUE(WaitForPanelPainted(panel)) << "the main window is not whole again after the prompt";
    EXPECT_TRUE(shots.Tool("confirmed", tool.Run()));
}

TEST(RepairFlows, SpaceOnTheFocusedRepairButtonRepairs)
{
    FlowShots shots("repair-keyboard");
    ToolSession tool(L"repair-keyboard");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;

    // Tab enters the panel at the minimise button; the repair button comes third.
    for (int id : {IDC_MINIMIZE, IDC_CLOSE, kPanelMarker}) {
        PressKey(VK_TAB);
        ASSERT_TRUE(WaitUntil([&] { return FocusedWindow(tool->UiThreadId()) == ::GetDlgItem(panel, id); }, 3000))
            << "Tab did not reach control " << id << "; the focus is on control "
            << ::GetDlgCtrlID(FocusedWindow(tool->UiThreadId()));
    }
    EXPECT_TRUE(shots.Tool("focused", tool.Run()));

    const RepairSeen seen = RepairAndWatch(tool, panel, shots, [] {
        PressKey(VK_SPACE);
        return true;
    });
    ASSERT_NE(nullptr, seen.prompt) << "Space on the repair button did not repair";
    EXPECT_TRUE(seen.busyShot) << "the busy pop-up was not seen on the screen";
    EXPECT_EQ(kSucceeded, PromptText(seen.prompt));
    EXPECT_EQ(0, Ask(seen.prompt, WM_QUERYUISTATE) & UISF_HIDEFOCUS) << "a prompt after a key hides its focus cue";
    EXPECT_EQ(2u, tool->AgentCalls().size());
    EXPECT_TRUE(ConfirmPrompt(seen.prompt));
}

TEST(RepairFlows, ARepairWithoutTheAgentShowsTheFailurePrompt)
{
    FlowShots shots("repair-failure");
    ToolSession tool(L"repair-failure");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;

    RepairSeen seen;
    {
        AgentAway away;
        ASSERT_TRUE(away.Moved()) << "the agent stand-in could not be moved away";
        seen = RepairAndWatch(tool, panel, shots);
    }
    ASSERT_NE(nullptr, seen.prompt) << "no result prompt";
    EXPECT_TRUE(seen.busyGoneAtPrompt);
    EXPECT_EQ(kFailed, PromptText(seen.prompt));
    EXPECT_TRUE(tool->AgentCalls().empty());
    EXPECT_TRUE(WaitForPromptShown(seen.prompt)) << "the screen does not show the result prompt";
    EXPECT_TRUE(shots.Tool("failure-prompt", tool.Run()));

    EXPECT_TRUE(ConfirmPrompt(seen.prompt));
    EXPECT_TRUE(tool->Running());
    EXPECT_TRUE(WaitForPanelPainted(panel)) << "the main window is not whole again after the prompt";
    EXPECT_TRUE(shots.Tool("confirmed", tool.Run()));
}

TEST(RepairFlows, WithTheAgreementUntickedTheRepairButtonDoesNothing)
{
    FlowShots shots("check-box");
    ToolSession tool(L"check-box");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    HWND repair = ::GetDlgItem(panel, kPanelMarker);
    const RECT box = ControlScreenRect(panel, IDC_AGREE_CHECK);
    const POINT onBox{box.left + 8, (box.top + box.bottom) / 2};

    ASSERT_TRUE(ClickAt(onBox));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(panel, IDC_AGREE_CHECK) == BST_UNCHECKED; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(repair); }, 3000)) << "unticked: repair still enabled";
    const Image disabled = ResourcePng(Files().tool, kRepairDisabledImage);
    EXPECT_TRUE(WaitUntil([&] { return ShareShowing(disabled, WindowScreenRect(repair)) > 0.9; }, 3000, 50))
        << "the repair button does not look disabled";
    EXPECT_TRUE(shots.Tool("unticked", tool.Run()));

    ASSERT_TRUE(ClickControl(panel, kPanelMarker));
    const bool reacted = WaitUntil(
        [&] { return !tool->WindowsWith(kBusyMarker).empty() || !tool->WindowsWith(kPromptMarker).empty(); }, 1500);
    EXPECT_FALSE(reacted) << "the disabled repair button started something";
    EXPECT_TRUE(tool->AgentCalls().empty());
    EXPECT_TRUE(shots.Tool("repair-clicked", tool.Run()));

    ASSERT_TRUE(ClickAt(onBox));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(panel, IDC_AGREE_CHECK) == BST_CHECKED; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(repair) != FALSE; }, 3000)) << "ticked: repair still disabled";
    // Enabled first, then painted: the picture is taken once the button shows it.
    const Image normal = ResourcePng(Files().tool, kRepairNormalImage);
    EXPECT_TRUE(WaitUntil([&] { return ShareShowing(normal, WindowScreenRect(repair)) > 0.9; }, 3000, 50))
        << "the repair button does not look enabled again";
    EXPECT_TRUE(shots.Tool("ticked", tool.Run()));

    // A burst of clicks at short, uneven intervals: whatever order the box's readings come
    // back in, the repair button ends as the box does. An odd number of clicks unticks it;
    // the next burst, of an even number, leaves it so.
    ASSERT_TRUE(MovePointer(onBox));
    unsigned int seed = ::GetTickCount();
    for (int burst : {9, 6}) {
        for (int click = 0; click < burst; ++click) {
            LeftButton(true);
            LeftButton(false);
            seed = seed * 1103515245u + 12345u;
            ::Sleep((seed >> 16) % 60);
        }
        ::Sleep(500);
        const bool ticked = CheckState(panel, IDC_AGREE_CHECK) == BST_CHECKED;
        EXPECT_FALSE(ticked) << "after a burst of " << burst << " clicks";
        EXPECT_TRUE(WaitUntil([&] { return (::IsWindowEnabled(repair) != FALSE) == ticked; }, 3000))
            << "after a burst of " << burst << " clicks the repair button does not match the box";
    }
    ASSERT_TRUE(ClickAt(onBox));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(panel, IDC_AGREE_CHECK) == BST_CHECKED; }, 3000));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(repair) != FALSE; }, 3000));

    const RepairSeen seen = RepairAndWatch(tool, panel, shots);
    ASSERT_NE(nullptr, seen.prompt) << "the enabled repair button did not repair";
    EXPECT_EQ(kSucceeded, PromptText(seen.prompt));
    EXPECT_TRUE(ConfirmPrompt(seen.prompt));
}

// While the agent works the busy pop-up is modal for the whole tool: presses on the ends of the
// repair button that it leaves uncovered, on the panel's close button, Escape and Alt+F4 start
// nothing and end nothing; once the agent is done, one result prompt follows.
TEST(RepairFlows, BehindTheBusyPopupThePanelTakesNoInput)
{
    FlowShots shots("busy-modal");
    ScratchFolder control(ScratchPath(L"agent-release"));
    const std::wstring release = control.File(L"release");
    LaunchOptions options;
    options.environment = {{L"MCUPDATE_STANDIN_MODE", L"hold"}, {L"MCUPDATE_STANDIN_RELEASE", release}};
    ToolSession tool(L"busy-modal", options);
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    const RECT repair = ControlScreenRect(panel, kPanelMarker);
    ASSERT_TRUE(ClickControl(panel, kPanelMarker));
    HWND busy = tool->WaitForWindowWith(kBusyMarker, 10000);
    ASSERT_NE(nullptr, busy) << "no busy pop-up";
    ASSERT_TRUE(WaitUntil([&] { return tool->AgentCalls().size() == 1; }, 10000)) << "the agent did not start";

    const RECT covered = WindowScreenRect(FrameOf(busy));
    const int middle = (repair.top + repair.bottom) / 2;
    for (const POINT end : {POINT{repair.left + 8, middle}, POINT{repair.right - 8, middle}}) {
        ASSERT_FALSE(::PtInRect(&covered, end)) << "the busy pop-up covers an end of the repair button";
        ASSERT_TRUE(ClickAt(end));
    }
    EXPECT_TRUE(shots.Tool("ends-clicked", tool.Run()));
    ASSERT_TRUE(ClickControl(panel, IDC_CLOSE));
    PressKey(VK_ESCAPE);
    PressChord(VK_MENU, VK_F4);
    ::Sleep(1000);
    EXPECT_TRUE(::IsWindowVisible(busy)) << "the busy pop-up went while the agent worked";
    const std::vector<std::string> runs = tool->AgentCalls();
    EXPECT_EQ(1u, runs.size()) << "the agent ran again: " << Joined(runs, "; ");
    EXPECT_TRUE(tool->WindowsWith(kFeedbackMarker).empty()) << "the closing question showed during the repair";

    ASSERT_TRUE(WriteBytes(release, ""));
    HWND prompt = tool->WaitForPrompt(20000);
    ASSERT_NE(nullptr, prompt) << "no result prompt";
    EXPECT_EQ(kSucceeded, PromptText(prompt));
    EXPECT_EQ(1u, tool->WindowsWith(kPromptMarker).size());
    EXPECT_TRUE(WaitForPromptShown(prompt)) << "the screen does not show the result prompt";
    EXPECT_TRUE(shots.Tool("result", tool.Run()));
    EXPECT_TRUE(ConfirmPrompt(prompt));
    ::Sleep(1500);
    EXPECT_EQ(2u, tool->AgentCalls().size()) << "the agent ran other than once for each command";
    EXPECT_TRUE(tool->WindowsWith(kBusyMarker).empty());
    EXPECT_TRUE(tool->WindowsWith(kPromptMarker).empty()) << "a second result followed";
    EXPECT_TRUE(tool->WindowsWith(kFeedbackMarker).empty()) << "the closing question showed after the repair";
    EXPECT_TRUE(tool->Running());
}
