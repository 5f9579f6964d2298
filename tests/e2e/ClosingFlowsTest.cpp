// The links of the main window and its end: the feedback link and the more-tools button ask
// the feedback library for their pages; closing asks whether the problem was solved, reports
// each of the three answers, ends the tool and removes its folder afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "tests/e2e/FlowShots.h"
#include "tests/support/Files.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// The removal tries the executable once a second until the ended tool has released it; the
// interpreter takes a moment to start, more on a loaded machine.
constexpr DWORD kRemovalBoundMs = 15000;

struct Answer {
    const char* name;
    int button;
    int code;  // what CustomerFeedbackEx reports
};

struct ClosedTool {
    std::unique_ptr<ToolSession> tool;
    std::string name;
};

bool IsPlainDecimal(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text[0] != '0';
}

}  // namespace

TEST(ClosingFlows, TheFeedbackLinkAsksTheLibraryForItsQuestionPage)
{
    FlowShots shots("feedback-link");
    ToolSession tool(L"feedback-link");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;
    const size_t callsBefore = tool->FeedbackCalls().size();

    ASSERT_TRUE(MovePointer(Centre(ControlScreenRect(panel, IDC_FEEDBACK_LINK))));
    ::Sleep(300);
    EXPECT_TRUE(shots.Tool("link-hovered", tool.Run()));
    ASSERT_TRUE(ClickControl(panel, IDC_FEEDBACK_LINK));
    EXPECT_TRUE(WaitUntil([&] { return !CallsNamed(tool.Run(), "FeedbackQuestion").empty(); }, 3000))
        << "the feedback link did not ask the library";
    ::Sleep(300);
    const std::vector<std::string> calls = tool->FeedbackCalls();
    ASSERT_EQ(callsBefore + 1, calls.size()) << "one call, nothing else";
    EXPECT_EQ("FeedbackQuestion\t10046\t1.0.3", calls.back());
    EXPECT_TRUE(tool->WindowsWith(kFeedbackMarker).empty()) << "the link does not close the tool";
    EXPECT_TRUE(shots.Tool("clicked", tool.Run()));
}

TEST(ClosingFlows, TheMoreToolsButtonOpensTheKnowledgeBaseArticle)
{
    FlowShots shots("more-tools");
    ToolSession tool(L"more-tools");
    std::string why;
    HWND panel = WaitForIdlePanel(tool, why);
    ASSERT_NE(nullptr, panel) << why;

    ASSERT_TRUE(MovePointer(Centre(ControlScreenRect(panel, IDC_MORE_TOOLS))));
    ::Sleep(300);
    EXPECT_TRUE(shots.Tool("button-hovered", tool.Run()));
    ASSERT_TRUE(ClickControl(panel, IDC_MORE_TOOLS));
    EXPECT_TRUE(WaitUntil([&] { return !CallsNamed(tool.Run(), "OpenUrl").empty(); }, 3000))
        << "the more-tools button did not ask the library";
    ::Sleep(300);
    const std::vector<std::string> opened = CallsNamed(tool.Run(), "OpenUrl");
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ("OpenUrl\thttps://kb.tovarin.example/detail/dc_172545.html", opened.front());
    EXPECT_TRUE(shots.Tool("clicked", tool.Run()));
}

TEST(ClosingFlows, ClosingReportsEachAnswerEndsTheToolAndRemovesItsFolder)
{
    const Answer answers[] = {
        {"solved", IDC_SOLVED, 1},
        {"unsolved", IDC_UNSOLVED, 2},
        {"cross", kFeedbackMarker, 3},
    };
    FlowShots shots("closing");
    std::vector<ClosedTool> closed;
    for (const Answer& answer : answers) {
        SCOPED_TRACE(answer.name);
        auto tool = std::make_unique<ToolSession>(L"closing");
        std::string why;
        HWND panel = WaitForIdlePanel(*tool, why);
        ASSERT_NE(nullptr, panel) << why;
        ASSERT_TRUE(ClickControl(panel, IDC_CLOSE));
        HWND question = (*tool)->WaitForWindowWith(kFeedbackMarker, 5000);
        ASSERT_NE(nullptr, question) << "closing did not ask whether the problem was solved";
        ::Sleep(300);
        EXPECT_TRUE(shots.Tool(std::string(answer.name) + "-question", tool->Run()));
        EXPECT_TRUE((*tool)->Running());
        EXPECT_TRUE(::IsWindowVisible(panel)) << "the main window waits for the answer";

        if (answer.code == 1) {
            // More solutions opens the knowledge base and leaves the question open.
            ASSERT_TRUE(ClickControl(question, IDC_MORE_SOLUTIONS));
            EXPECT_TRUE(WaitUntil([&] { return !CallsNamed(tool->Run(), "OpenUrl").empty(); }, 3000));
            EXPECT_EQ("OpenUrl\thttps://kb.tovarin.example/", CallsNamed(tool->Run(), "OpenUrl").front());
            EXPECT_TRUE(::IsWindowVisible(question));
        }

        const long long before = static_cast<long long>(std::time(nullptr));
        ASSERT_TRUE(ClickControl(question, answer.button));
        EXPECT_TRUE((*tool)->WaitForExit(10000)) << "the tool did not end after the answer";
        const long long after = static_cast<long long>(std::time(nullptr));

        const std::vector<std::string> reports = CallsNamed(tool->Run(), "CustomerFeedbackEx");
        ASSERT_EQ(1u, reports.size()) << "one report per close";
        const std::vector<std::string> fields = Fields(reports.front());
        ASSERT_EQ(5u, fields.size()) << reports.front();
        EXPECT_EQ("10046", fields[1]);
        EXPECT_EQ("1.0.3", fields[2]);
        EXPECT_EQ(std::to_string(answer.code), fields[3]);
        EXPECT_TRUE(IsPlainDecimal(fields[4])) << fields[4];
        const long long stamp = std::atoll(fields[4].c_str());
        EXPECT_TRUE(stamp >= before && stamp <= after) << "the report's time " << fields[4] << " is not the click's";
        const std::vector<std::string> calls = (*tool)->FeedbackCalls();
        EXPECT_EQ("FeedbackQuestion\t10046\t1.0.3", calls.back()) << "the question page follows the report";
        closed.push_back({std::move(tool), answer.name});
    }

    // The removals run side by side: each folder goes a few seconds after its tool ended.
    auto allGone = [&] {
        for (ClosedTool& c : closed) {
            if (FolderExists(c.tool->Folder().Path())) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(WaitUntil(allGone, kRemovalBoundMs, 100));
    for (ClosedTool& c : closed) {
        EXPECT_FALSE(FolderExists(c.tool->Folder().Path()))
            << c.name << ": the tool's folder was not removed: " << Utf8(EntryList(c.tool->Folder()));
    }
    EXPECT_TRUE(shots.Screen("desktop-after"));
}
