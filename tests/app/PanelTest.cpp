// The main window of the running tool, seen and driven from outside: where the panel's
// controls lie at two pixel densities, the agreement check box and the repair button, dragging
// by the top strip, keys that must not close it and the more-tools button.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/PanelLayout.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

// A started tool whose panel shows and whose version check has run.
class PanelTest : public ::testing::Test {
protected:
    void Launch(const LaunchOptions& options = {})
    {
        m_tool = std::make_unique<ToolSession>(L"panel", options);
        ASSERT_TRUE((*m_tool)->Started()) << (*m_tool)->Error();
        m_panel = (*m_tool)->WaitForPanel();
        ASSERT_NE(nullptr, m_panel) << "the panel did not show";
        ASSERT_TRUE(WaitForVersionCheck(Run())) << "the version check did not run";
    }
    ToolRun& Run() { return m_tool->Run(); }
    HWND Control(int id) const { return ::GetDlgItem(m_panel, id); }
    RECT Rect(int id) const { return ControlClientRect(m_panel, id); }
    LRESULT CheckState() const { return testsupport::CheckState(m_panel, IDC_AGREE_CHECK); }

    std::unique_ptr<ToolSession> m_tool;
    HWND m_panel = nullptr;
};

}  // namespace

TEST_F(PanelTest, ControlsLieWhereTheDesignPutsThemAt96Dpi)
{
    LaunchOptions options;
    options.logPixels = 96;
    Launch(options);

    const RECT frame = WindowScreenRect(Run().Frame(m_panel));
    const RECT panel = WindowScreenRect(m_panel);
    EXPECT_EQ(410, frame.right - frame.left);
    EXPECT_EQ(611, frame.bottom - frame.top);
    EXPECT_RECT(panel, (RECT{frame.left + 5, frame.top + 4, frame.right - 5, frame.bottom - 7}));

    EXPECT_RECT(Rect(IDC_CLOSE), (RECT{368, 0, 394, 34}));
    EXPECT_RECT(Rect(IDC_MINIMIZE), (RECT{340, 0, 366, 34}));
    EXPECT_RECT(Rect(IDC_VERSION), (RECT{188, 16, 228, 31}));
    EXPECT_RECT(Rect(IDC_REPAIR), (RECT{58, 260, 342, 345}));
    EXPECT_RECT(Rect(IDC_MORE_TOOLS), (RECT{45, 540, 103, 558}));

    // The bottom strip: check box, agreement link right after it, feedback link at the right.
    const RECT agree = Rect(IDC_AGREE_CHECK);
    const RECT link = Rect(IDC_AGREEMENT_LINK);
    const RECT feedback = Rect(IDC_FEEDBACK_LINK);
    for (const RECT& item : {agree, link, feedback}) {
        EXPECT_EQ(575, item.top);
        EXPECT_EQ(595, item.bottom);
    }
    EXPECT_EQ(8, agree.left);
    const int c = (link.right - link.left) / 14;
    EXPECT_GT(c, 0) << "the agreement text was not measured";
    EXPECT_EQ(0, (link.right - link.left) % 14) << "the link is 14 text columns wide";
    EXPECT_EQ(8 + 16 + 2 * c + 2, agree.right);
    EXPECT_EQ(agree.right + 6, link.left);
    EXPECT_EQ(394, feedback.right) << "the feedback link ends 6 pixels from the right edge";
    EXPECT_LT(link.right, feedback.left);

    EXPECT_EQ("1.0.3", Utf8(ControlText(m_panel, IDC_VERSION)));
    EXPECT_EQ(BST_CHECKED, CheckState()) << "the agreement starts ticked";
    EXPECT_TRUE(::IsWindowEnabled(Control(IDC_REPAIR)));
}

TEST_F(PanelTest, ControlsFollowTheScaleAt120Dpi)
{
    LaunchOptions options;
    options.logPixels = 120;
    Launch(options);

    const RECT frame = WindowScreenRect(Run().Frame(m_panel));
    EXPECT_EQ(492, frame.right - frame.left) << "410 pixels at scale 1.2";
    EXPECT_EQ(733, frame.bottom - frame.top) << "611 pixels at scale 1.2";
    RECT client{};
    ::GetClientRect(m_panel, &client);
    EXPECT_GT(client.right, 400);

    // The texts' widths come from the tool's own font: take them from the links.
    const RECT link = Rect(IDC_AGREEMENT_LINK);
    const RECT feedback = Rect(IDC_FEEDBACK_LINK);
    const int agreeWidth = (link.right - link.left) / 14 * 14;
    const int feedbackWidth = feedback.right - feedback.left - 12;
    const PanelLayout expected = ComputePanelLayout(client, 1.2f, agreeWidth, feedbackWidth);

    EXPECT_RECT(Rect(IDC_CLOSE), expected.close);
    EXPECT_RECT(Rect(IDC_MINIMIZE), expected.minimize);
    EXPECT_RECT(Rect(IDC_VERSION), expected.version);
    EXPECT_RECT(Rect(IDC_REPAIR), expected.repair);
    EXPECT_RECT(Rect(IDC_MORE_TOOLS), expected.moreTools);
    EXPECT_RECT(Rect(IDC_AGREE_CHECK), expected.agree);
    EXPECT_RECT(link, expected.agreementLink);
    EXPECT_RECT(feedback, expected.feedbackLink);
    EXPECT_EQ(client.right - 6, feedback.right);
}

TEST_F(PanelTest, UntickingTheAgreementDisablesTheRepairButtonAndTickingEnablesIt)
{
    Launch();
    const Image normal = ResourcePng(Files().tool, kRepairNormalImage);
    const Image disabled = ResourcePng(Files().tool, kRepairDisabledImage);
    ASSERT_FALSE(normal.Empty());
    ASSERT_FALSE(disabled.Empty());
    HWND repair = Control(IDC_REPAIR);
    const RECT repairOnScreen = ControlScreenRect(m_panel, IDC_REPAIR);
    const RECT box = ControlScreenRect(m_panel, IDC_AGREE_CHECK);
    const POINT onBox{box.left + 8, (box.top + box.bottom) / 2};

    // Away from the button, which would otherwise show its hover look.
    const RECT panel = WindowScreenRect(m_panel);
    ASSERT_TRUE(MovePointer(POINT{panel.left + 370, panel.top + 450}));
    EXPECT_TRUE(WaitUntil([&] { return ShareShowing(normal, repairOnScreen) > 0.9; }, 3000, 50))
        << "the repair button starts in its normal look";

    ASSERT_TRUE(ClickAt(onBox));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(repair); }, 3000)) << "unticked: repair still enabled";
    EXPECT_EQ(BST_UNCHECKED, CheckState());
    EXPECT_TRUE(WaitUntil([&] { return ShareShowing(disabled, repairOnScreen) > 0.9; }, 3000, 50))
        << "the disabled button does not show its disabled image";
    EXPECT_LT(ShareShowing(normal, repairOnScreen), 0.5);

    ASSERT_TRUE(ClickAt(onBox));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(repair) != FALSE; }, 3000)) << "ticked: repair still disabled";
    EXPECT_EQ(BST_CHECKED, CheckState());
    EXPECT_TRUE(WaitUntil([&] { return ShareShowing(normal, repairOnScreen) > 0.9; }, 3000, 50))
        << "the enabled button does not show its normal image";
}

TEST_F(PanelTest, DraggingTheTopStripMovesTheWholeMainWindow)
{
    Launch();
    HWND frameWindow = Run().Frame(m_panel);
    const RECT frame = WindowScreenRect(frameWindow);
    const RECT panel = WindowScreenRect(m_panel);

    // Below the strip nothing drags.
    const POINT belowStrip{panel.left + 150, panel.top + 40};
    EXPECT_FALSE(DragWithMouse(belowStrip, POINT{belowStrip.x - 60, belowStrip.y + 45}, Run().UiThreadId()));
    EXPECT_RECT(WindowScreenRect(m_panel), panel);

    const POINT inStrip{panel.left + 150, panel.top + 12};
    ASSERT_TRUE(DragWithMouse(inStrip, POINT{inStrip.x - 60, inStrip.y + 45}, Run().UiThreadId()))
        << "pressing in the top strip did not start the system's move";
    const RECT movedPanel = WindowScreenRect(m_panel);
    const RECT movedFrame = WindowScreenRect(frameWindow);
    EXPECT_RECT(movedPanel, Offset(panel, -60, 45));
    EXPECT_RECT(movedFrame, Offset(frame, -60, 45)) << "the frame follows the panel";
    EXPECT_RECT(movedPanel,
                (RECT{movedFrame.left + 5, movedFrame.top + 4, movedFrame.right - 5, movedFrame.bottom - 7}));
}

TEST_F(PanelTest, EscapeAndEnterLeaveTheMainWindowOpen)
{
    Launch();
    // A click gives the check box the focus; Space shows that keys reach it.
    const RECT box = ControlScreenRect(m_panel, IDC_AGREE_CHECK);
    const POINT onBox{box.left + 8, (box.top + box.bottom) / 2};
    ASSERT_TRUE(ClickAt(onBox));
    ASSERT_TRUE(WaitUntil([&] { return CheckState() == BST_UNCHECKED; }, 3000));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return CheckState() == BST_CHECKED; }, 3000)) << "keys do not reach the panel";

    PressKey(VK_ESCAPE);
    PressKey(VK_RETURN);
    ::Sleep(1000);
    EXPECT_TRUE(Run().Running()) << "Escape or Enter ended the tool";
    EXPECT_TRUE(::IsWindowVisible(m_panel));
    EXPECT_TRUE(::IsWindowVisible(Run().Frame(m_panel)));
    EXPECT_TRUE(Run().WindowsWith(kPromptMarker).empty());
}

TEST_F(PanelTest, MoreToolsOpensTheKnowledgeBaseArticleOnce)
{
    Launch();
    ASSERT_TRUE(ClickControl(m_panel, IDC_MORE_TOOLS));
    EXPECT_TRUE(WaitUntil([&] { return CountCalls(Run(), "OpenUrl") > 0; }, 3000)) << "OpenUrl was not called";
    ::Sleep(300);
    int articleCalls = 0;
    for (const std::string& line : Run().FeedbackCalls()) {
        articleCalls += line == "OpenUrl\thttps://kb.tovarin.example/detail/dc_172545.html" ? 1 : 0;
    }
    EXPECT_EQ(1, articleCalls);
    EXPECT_EQ(1, CountCalls(Run(), "OpenUrl"));
    EXPECT_TRUE(Run().Running());
}
