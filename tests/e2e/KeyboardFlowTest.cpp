// The main window for a user of the keyboard and of a screen reader: the controls' names as
// read from outside, Tab and Shift+Tab in reading order, the focus cue, which shows only once
// the keyboard is used (a click gives the focus without one), and Space on the links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/FlowShots.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

// The panel's controls in reading order, with the names screen readers read.
struct NamedControl {
    int id;
    const char* name;
};
const NamedControl kReadingOrder[] = {
    {IDC_MINIMIZE, "最小化"},
    {IDC_CLOSE, "关闭"},
    {IDC_REPAIR, "一键修复"},
    {IDC_MORE_TOOLS, "更多工具"},
    {IDC_AGREE_CHECK, "同意"},
    {IDC_AGREEMENT_LINK, "《Tovarin服务工具使用许可协议》"},
    {IDC_FEEDBACK_LINK, "反馈问题"},
};
constexpr int kControls = sizeof(kReadingOrder) / sizeof(kReadingOrder[0]);
constexpr int kCheckBoxPlace = 4;

// The controls met going once round the panel from the check box, forwards (1) or back (-1).
std::vector<int> RoundFromCheckBox(int direction)
{
    std::vector<int> ids;
    for (int i = 1; i <= kControls; ++i) {
        ids.push_back(kReadingOrder[(kCheckBoxPlace + direction * i + kControls) % kControls].id);
    }
    return ids;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    RECT both{};
    ::UnionRect(&both, &inner, &outer);
    return ::EqualRect(&both, &outer) != FALSE;
}

class KeyboardFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        m_panel = WaitForIdlePanel(m_tool, why);
        ASSERT_NE(nullptr, m_panel) << why;
    }

    int FocusedId() { return ::GetDlgCtrlID(FocusedWindow(m_tool->UiThreadId())); }
    // Presses a key (with Shift when `back`) and waits for the focus to move to another
    // control of the panel (on its way from the frame it passes the panel itself); the id of
    // the control that has it then.
    int Step(WORD key, bool back = false)
    {
        HWND before = FocusedWindow(m_tool->UiThreadId());
        back ? PressChord(VK_SHIFT, key) : PressKey(key);
        WaitUntil(
            [&] {
                HWND focus = FocusedWindow(m_tool->UiThreadId());
                return focus != before && ::GetParent(focus) == m_panel;
            },
            3000);
        return FocusedId();
    }
    Image Panel() const { return CaptureScreen(WindowScreenRect(m_panel)); }
    // The panel once it differs from `from`, or as it is after waiting for that.
    Image PanelChangedFrom(const Image& from) const
    {
        WaitUntil(
            [&] {
                const RECT area = DifferingArea(from, Panel());
                return !::IsRectEmpty(&area);
            },
            3000, 50);
        return Panel();
    }
    RECT Control(int id) const { return ControlClientRect(m_panel, id); }

    ToolSession m_tool{L"keyboard"};
    HWND m_panel = nullptr;
};

}  // namespace

TEST_F(KeyboardFlow, TabWalksThePanelInReadingOrderAndShowsTheFocusCueOnlyOnceTheKeyboardIsUsed)
{
    FlowShots shots("keyboard");
    for (const NamedControl& control : kReadingOrder) {
        EXPECT_EQ(control.name, Utf8(ControlText(m_panel, control.id))) << "control " << control.id;
    }

    // A mouse user: two clicks on the check box leave it ticked and give it the focus, with no
    // cue; the panel shows exactly what it showed before.
    ASSERT_TRUE(ParkPointer());
    ASSERT_TRUE(WaitForPanelPainted(m_panel));
    const Image untouched = Panel();
    EXPECT_TRUE(shots.Tool("main", m_tool.Run()));
    const RECT box = ControlScreenRect(m_panel, IDC_AGREE_CHECK);
    const POINT onBox{box.left + 8, (box.top + box.bottom) / 2};
    ASSERT_TRUE(ClickAt(onBox));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(m_panel, IDC_AGREE_CHECK) == BST_UNCHECKED; }, 3000));
    ASSERT_TRUE(ClickAt(onBox));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(m_panel, IDC_AGREE_CHECK) == BST_CHECKED; }, 3000));
    ASSERT_TRUE(ParkPointer());
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(m_panel, IDC_REPAIR)) != FALSE; }, 3000));
    ASSERT_TRUE(WaitForPanelPainted(m_panel));
    EXPECT_EQ(IDC_AGREE_CHECK, FocusedId()) << "the click gave the check box the focus";
    EXPECT_EQ(RectText(RECT{}), RectText(DifferingArea(untouched, Panel()))) << "a click brought a focus cue";
    const Image clicked = Panel();
    EXPECT_TRUE(shots.Tool("clicked", m_tool.Run()));

    // Tab brings the cue, around the link that takes the focus and nowhere else.
    ASSERT_EQ(IDC_AGREEMENT_LINK, Step(VK_TAB));
    const Image tabbed = PanelChangedFrom(clicked);
    const RECT cue = DifferingArea(clicked, tabbed);
    EXPECT_FALSE(::IsRectEmpty(&cue)) << "no focus cue after Tab";
    EXPECT_TRUE(Inside(cue, Control(IDC_AGREEMENT_LINK))) << RectText(cue);
    EXPECT_TRUE(shots.Tool("tabbed", m_tool.Run()));

    // Back on the check box the cue shows where the click showed none.
    ASSERT_EQ(IDC_AGREE_CHECK, Step(VK_TAB, true));
    const Image back = PanelChangedFrom(tabbed);
    const RECT boxCue = DifferingArea(clicked, back);
    EXPECT_FALSE(::IsRectEmpty(&boxCue)) << "no focus cue on the check box after Shift+Tab";
    EXPECT_TRUE(Inside(boxCue, Control(IDC_AGREE_CHECK))) << RectText(boxCue);
    EXPECT_TRUE(shots.Tool("shift-tabbed", m_tool.Run()));

    // Round the panel both ways, from the check box.
    std::vector<int> forward;
    for (int i = 0; i < kControls; ++i) {
        forward.push_back(Step(VK_TAB));
    }
    EXPECT_EQ(RoundFromCheckBox(1), forward);
    std::vector<int> backward;
    for (int i = 0; i < kControls; ++i) {
        backward.push_back(Step(VK_TAB, true));
    }
    EXPECT_EQ(RoundFromCheckBox(-1), backward);
}

TEST_F(KeyboardFlow, SpaceOnTheLinksDoesWhatTheirClicksDo)
{
    FlowShots shots("keyboard-links");
    // The main window starts active with the keyboard on its frame: Tab enters the panel.
    ASSERT_EQ(IDC_MINIMIZE, Step(VK_TAB));
    ASSERT_EQ(IDC_FEEDBACK_LINK, Step(VK_TAB, true));
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return CountCalls(m_tool.Run(), "FeedbackQuestion") == 1; }, 3000))
        << "Space on the feedback link did not ask the library";

    ASSERT_EQ(IDC_AGREEMENT_LINK, Step(VK_TAB, true));
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const AgreementWindows bubble = FindBubble(m_tool.Run());
            return bubble.frame && ::IsWindowVisible(bubble.frame) && ::IsWindowVisible(bubble.content);
        },
        5000))
        << "Space on the agreement link did not show the bubble";
    ::Sleep(300);
    EXPECT_TRUE(shots.Tool("agreement", m_tool.Run()));
    EXPECT_EQ(1, CountCalls(m_tool.Run(), "FeedbackQuestion"));
}
