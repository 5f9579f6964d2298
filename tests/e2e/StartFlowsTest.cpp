// Starting the tool as a user does: the main window painted in the middle of the screen, and
// the two ways a start is refused (an older Windows, the feedback library missing), each
// with its prompt and the end of the process once the prompt is confirmed.
#include <gtest/gtest.h>

#include "tests/e2e/FlowShots.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

TEST(StartFlows, TheMainWindowShowsPaintedInTheMiddleOfTheScreen)
{
    FlowShots shots("start");
    LaunchOptions options;
    options.logPixels = 96;
    ToolSession tool(L"start", options);
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    HWND frame = tool->Frame(panel);

    // Away from every control, so that none shows its hover look.
    const RECT panelRect = WindowScreenRect(panel);
    ASSERT_TRUE(MovePointer(POINT{panelRect.left + 370, panelRect.top + 450}));
    EXPECT_TRUE(WaitForPanelPainted(panel)) << "the main window is not painted";
    EXPECT_TRUE(shots.Tool("main", tool.Run()));

    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const RECT centred{screenWidth / 2 - 205, screenHeight / 2 - 305, screenWidth / 2 - 205 + 410,
                       screenHeight / 2 - 305 + 611};
    EXPECT_EQ(RectText(centred), RectText(WindowScreenRect(frame))) << "the frame is centred on the screen";
    EXPECT_EQ("Quenmar软件名称显示乱码修复工具", Utf8(WindowText(frame)));
    EXPECT_EQ("1.0.3", Utf8(ControlText(panel, IDC_VERSION)));
    EXPECT_EQ(BST_CHECKED, CheckState(panel, IDC_AGREE_CHECK)) << "the agreement starts accepted";
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(panel, kPanelMarker)));
    EXPECT_TRUE(tool->WindowsWith(kPromptMarker).empty()) << "an up-to-date tool starts without a prompt";

    // The repair button answers the pointer.
    const RECT repair = ControlScreenRect(panel, kPanelMarker);
    ASSERT_TRUE(MovePointer(Centre(repair)));
    const Image hover = ResourcePng(Files().tool, kRepairHoverImage);
    double hoverShare = 0;
    EXPECT_TRUE(WaitUntil([&] { return (hoverShare = ShareShowing(hover, repair)) > 0.9; }, 3000, 50))
        << "the repair button does not show its hover look under the pointer (" << hoverShare
        << " of it shows); " << DescribePoint(Centre(repair));
    EXPECT_TRUE(shots.Tool("repair-hover", tool.Run()));
}

TEST(StartFlows, ARefusedStartShowsItsPromptAndEndsWhenItIsConfirmed)
{
    struct Refusal {
        const char* name;
        LaunchOptions options;
        const char* text;
    };
    LaunchOptions windows7;
    windows7.windowsVersion = L"win7";
    LaunchOptions noLibrary;
    noLibrary.library = Library::Missing;
    const Refusal refusals[] = {
        {"windows7", windows7, "此工具不支持当前系统"},
        {"library-missing", noLibrary, "工具初始化失败"},
    };

    FlowShots shots("refusals");
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        ToolSession tool(L"refused", refusal.options);
        ASSERT_TRUE(tool->Started()) << tool->Error();
        HWND prompt = tool->WaitForPrompt();
        ASSERT_NE(nullptr, prompt) << "no prompt";
        EXPECT_EQ(refusal.text, PromptText(prompt));
        EXPECT_TRUE(tool->WindowsWith(kPanelMarker).empty()) << "the main window must not show";
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(prompt, IDC_PROMPT_OK)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(prompt, IDC_PROMPT_CANCEL))) << "one confirm button only";
        EXPECT_TRUE(WaitForPromptShown(prompt)) << "the screen does not show the prompt";
        EXPECT_TRUE(shots.Tool(std::string(refusal.name) + "-prompt", tool.Run()));

        EXPECT_TRUE(ConfirmPrompt(prompt));
        DWORD code = 0xDEAD;
        EXPECT_TRUE(tool->WaitForExit(10000, &code)) << "the tool did not end after its prompt";
        EXPECT_EQ(0u, code);
    }
}
