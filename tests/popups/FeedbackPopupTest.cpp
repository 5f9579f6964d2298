// The feedback pop-up on real windows, clicked through real input: what each answer reports
// to the stand-in library (its call journal), "更多方案", the swallowed keys, the pop-up's
// own scale and the buttons' places.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/CProblemSolvingFeedbackDlg.h"
#include "repair/CFeedbackLibrary.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Standins.h"
#include "tests/support/Text.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

const DWORD kGiveUpMs = 8000;
const int kGaveUp = -2;

bool PlainDecimal(const std::string& text)
{
    return !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos &&
           text[0] != '0';
}

// The pop-up at a LOGPIXELSY of our choosing.
class FeedbackAtDpi : public CProblemSolvingFeedbackDlg {
public:
    explicit FeedbackAtDpi(int dpi) : m_dpi(dpi) {}

protected:
    int ScreenPixelsPerInch() const override { return m_dpi; }

private:
    int m_dpi;
};

using Act = std::function<void(CProblemSolvingFeedbackDlg&, CProblemSolvingFeedbackChildDlg&)>;

CProblemSolvingFeedbackDlg* g_running = nullptr;

// A click that never arrives fails the test instead of hanging it.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_running && g_running->m_hWnd) {
        g_running->EndDialog(kGaveUp);
    }
}

// Runs `popup` modally and does `act` once it shows; returns DoModal's result.
INT_PTR RunPopup(CProblemSolvingFeedbackDlg& popup, const Act& act)
{
    g_running = &popup;
    const UINT_PTR giveUp = ::SetTimer(nullptr, 0, kGiveUpMs, &GiveUp);
    Later(80, [&] { act(popup, *popup.GetFeedbackContent()); });
    const INT_PTR result = popup.DoModal();
    ::KillTimer(nullptr, giveUp);
    g_running = nullptr;
    return result;
}

class FeedbackPopup : public ::testing::Test {
protected:
    void SetUp() override
    {
        MovePointer(POINT{2, 2}, Waiting::Pump);
        ASSERT_TRUE(library.LoadFeedbackLibrary()) << "the stand-in library lies beside the test program";
    }

    // Runs the pop-up bound to the library, clicks `button` of its content and returns the
    // journal's lines; `clickTime` receives the time of the click.
    std::vector<std::string> Answer(CFeaturePngButton& (CProblemSolvingFeedbackChildDlg::*large)(),
                                    INT_PTR* result, __time64_t* clickTime, bool closeButton = false)
    {
        CallJournal journal;
        CProblemSolvingFeedbackDlg popup;
        popup.SetFeedbackLibrary(&library);
        *result = RunPopup(popup, [&](CProblemSolvingFeedbackDlg&, CProblemSolvingFeedbackChildDlg& content) {
            HWND button = closeButton ? content.CloseButton().m_hWnd : (content.*large)().m_hWnd;
            MovePointer(CentreOf(button), Waiting::Pump);
            *clickTime = _time64(nullptr);
            LeftButton(true);
            LeftButton(false);
        });
        return journal.Lines();
    }

    CFeedbackLibrary library;
};

}  // namespace

TEST_F(FeedbackPopup, EachAnswerReportsItsCodeWithTheClickTimeThenAsksTheQuestionAndEnds)
{
    struct Case {
        CFeaturePngButton& (CProblemSolvingFeedbackChildDlg::*button)();
        bool closeButton;
        const char* code;
    };
    const Case cases[] = {
        {&CProblemSolvingFeedbackChildDlg::SolvedButton, false, "1"},
        {&CProblemSolvingFeedbackChildDlg::UnsolvedButton, false, "2"},
        {nullptr, true, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("answer ") + c.code);
        INT_PTR result = 0;
        __time64_t clicked = 0;
        const std::vector<std::string> lines = Answer(c.button, &result, &clicked, c.closeButton);
        EXPECT_EQ(result, IDCANCEL);
        ASSERT_EQ(lines.size(), 2u);
        const std::vector<std::string> report = Fields(lines[0]);
        ASSERT_EQ(report.size(), 5u) << lines[0];
        EXPECT_EQ(report[0], "CustomerFeedbackEx");
        EXPECT_EQ(report[1], "10046");
        EXPECT_EQ(report[2], "1.0.3");
        EXPECT_EQ(report[3], c.code);
        EXPECT_TRUE(PlainDecimal(report[4])) << report[4];
        const long long reported = std::stoll(report[4]);
        EXPECT_GE(reported, static_cast<long long>(clicked));
        EXPECT_LE(reported, static_cast<long long>(clicked) + 1);
        EXPECT_EQ(lines[1], "FeedbackQuestion\t10046\t1.0.3");
    }
}

TEST_F(FeedbackPopup, AClickAfterTheAnswerReportsNothingMore)
{
    CallJournal journal;
    CProblemSolvingFeedbackDlg popup;
    popup.SetFeedbackLibrary(&library);
    // Both clicks reach the content before the modal loop ends.
    EXPECT_EQ(RunPopup(popup,
                  [](CProblemSolvingFeedbackDlg&, CProblemSolvingFeedbackChildDlg& content) {
                      content.UnsolvedButton().SendMessage(BM_CLICK);
                      content.SolvedButton().SendMessage(BM_CLICK);
                      content.CloseButton().SendMessage(BM_CLICK);
                  }),
              IDCANCEL);
    const std::vector<std::string> lines = journal.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Fields(lines[0])[3], "2");
}

TEST_F(FeedbackPopup, MoreSolutionsOpensTheSiteEachTimeAndThePopupStays)
{
    CallJournal journal;
    CProblemSolvingFeedbackDlg popup;
    popup.SetFeedbackLibrary(&library);
    bool shownAfterBoth = false;
    std::vector<std::string> afterBoth;
    const INT_PTR result = RunPopup(popup, [&](CProblemSolvingFeedbackDlg& frame,
                                               CProblemSolvingFeedbackChildDlg& content) {
        // Two clicks at one place within the double-click time would be one double click.
        const POINT centre = CentreOf(content.MoreSolutionsButton().m_hWnd);
        ClickAt(centre, Waiting::Pump);
        MovePointer(POINT{2, 2}, Waiting::Pump);
        ClickAt(POINT{centre.x + 2 * ::GetSystemMetrics(SM_CXDOUBLECLK), centre.y}, Waiting::Pump);
        PollThen([&] { return journal.Lines().size() >= 2; }, 2000, [&] {
            afterBoth = journal.Lines();
            shownAfterBoth = frame.IsWindowVisible() && content.IsWindowVisible();
            ClickAt(CentreOf(content.CloseButton().m_hWnd), Waiting::Pump);
        });
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(afterBoth.size(), 2u);
    EXPECT_EQ(afterBoth[0], "OpenUrl\thttps://kb.tovarin.example/");
    EXPECT_EQ(afterBoth[1], "OpenUrl\thttps://kb.tovarin.example/");
    EXPECT_TRUE(shownAfterBoth);
    // Then the close button's answer.
    const std::vector<std::string> lines = journal.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Fields(lines[2])[3], "3");
}

TEST_F(FeedbackPopup, EnterAndEscapeDoNothingInFrameOrContent)
{
    CallJournal journal;
    CProblemSolvingFeedbackDlg popup;
    popup.SetFeedbackLibrary(&library);
    bool shownAfterKeys = false;
    size_t linesAfterKeys = 99;
    const INT_PTR result = RunPopup(popup, [&](CProblemSolvingFeedbackDlg& frame, CProblemSolvingFeedbackChildDlg& content) {
        for (HWND target : {frame.m_hWnd, content.m_hWnd, content.SolvedButton().m_hWnd,
                            content.MoreSolutionsButton().m_hWnd, content.CloseButton().m_hWnd}) {
            PostKey(target, VK_RETURN);
            PostKey(target, VK_ESCAPE);
        }
        // The keys go through the modal loop first; then the close button ends the pop-up.
        Later(300, [&] {
            shownAfterKeys = frame.IsWindowVisible() && content.IsWindowVisible();
            linesAfterKeys = journal.Lines().size();
            content.CloseButton().SendMessage(BM_CLICK);
        });
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(shownAfterKeys);
    EXPECT_EQ(linesAfterKeys, 0u);
    const std::vector<std::string> lines = journal.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Fields(lines[0])[3], "3");
}

TEST_F(FeedbackPopup, WithoutABindingTheAnswersOnlyCloseAndMoreSolutionsDoesNothing)
{
    CallJournal journal;
    CProblemSolvingFeedbackDlg popup;
    bool stayed = false;
    EXPECT_EQ(RunPopup(popup,
                  [&](CProblemSolvingFeedbackDlg& frame, CProblemSolvingFeedbackChildDlg& content) {
                      content.MoreSolutionsButton().SendMessage(BM_CLICK);
                      stayed = frame.IsWindowVisible() != FALSE;
                      ClickAt(CentreOf(content.SolvedButton().m_hWnd), Waiting::Pump);
                  }),
              IDCANCEL);
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(journal.Lines().empty());
}

namespace {

struct FeedbackGeometry {
    std::wstring title;
    RECT frame, content, close, solved, unsolved, more;
    int solvedStateInsideInset = 0;  // hover state with the pointer just inside the hit inset
    int solvedStateWithinInset = 0;  // ... and just outside it, over the button's rim
    COLORREF ground = 0;
};

FeedbackGeometry Measure(CProblemSolvingFeedbackDlg& popup, int inset)
{
    FeedbackGeometry g{};
    RunPopup(popup, [&](CProblemSolvingFeedbackDlg& frame, CProblemSolvingFeedbackChildDlg& content) {
        g.title = frame.GetWindowText();
        g.frame = WindowScreenRect(frame.m_hWnd);
        g.content = WindowScreenRect(content.m_hWnd);
        g.close = ChildRect(content.CloseButton().m_hWnd);
        g.solved = ChildRect(content.SolvedButton().m_hWnd);
        g.unsolved = ChildRect(content.UnsolvedButton().m_hWnd);
        g.more = ChildRect(content.MoreSolutionsButton().m_hWnd);
        const RECT solved = WindowScreenRect(content.SolvedButton().m_hWnd);
        const int middle = (solved.top + solved.bottom) / 2;
        content.SolvedButton().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(solved.left + inset, middle));
        g.solvedStateInsideInset = content.SolvedButton().GetState();
        content.SolvedButton().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(solved.left + inset - 1, middle));
        g.solvedStateWithinInset = content.SolvedButton().GetState();
        // Between the question and the first button: the picture's dark blue ground.
        g.ground = ClientPixels(content.m_hWnd).At(20, 130);
        frame.EndDialog(IDCANCEL);
    });
    return g;
}

}  // namespace

TEST_F(FeedbackPopup, AtNinetySixDpiThePopupIsAtScaleOne)
{
    FeedbackAtDpi popup(96);
    const FeedbackGeometry g = Measure(popup, 9);
    EXPECT_EQ(g.title, L"Quenmar软件名称显示乱码修复工具");
    EXPECT_EQ(g.frame.right - g.frame.left, 410);
    EXPECT_EQ(g.frame.bottom - g.frame.top, 479);
    EXPECT_RECT(g.content, RECT{g.frame.left + 5, g.frame.top + 4, g.frame.right - 5, g.frame.bottom - 7});
    EXPECT_RECT(g.close, RECT{382, 6, 394, 18});
    EXPECT_RECT(g.solved, RECT{67, 154, 333, 214});
    EXPECT_RECT(g.unsolved, RECT{67, 234, 333, 294});
    EXPECT_RECT(g.more, RECT{67, 314, 333, 374});
    EXPECT_EQ(g.solvedStateInsideInset, kButtonHover);
    EXPECT_EQ(g.solvedStateWithinInset, kButtonNormal);
    const Image background = ResourcePng(169);
    ASSERT_FALSE(background.Empty());
    EXPECT_LE(ColourDistance(g.ground, Opaque(background.At(20, 130))), 8);
}

TEST_F(FeedbackPopup, AtOneHundredTwentyFiveDpiTheSolvedButtonSitsOnePixelLeftOfTheOthers)
{
    FeedbackAtDpi popup(125);
    const FeedbackGeometry g = Measure(popup, 11);
    // 410 x 1.25 and 479 x 1.25, cut; margins 6, 5, 6, 8.
    EXPECT_EQ(g.frame.right - g.frame.left, 512);
    EXPECT_EQ(g.frame.bottom - g.frame.top, 598);
    EXPECT_RECT(g.content, RECT{g.frame.left + 6, g.frame.top + 5, g.frame.right - 6, g.frame.bottom - 8});
    EXPECT_EQ(g.solved.left, 83);
    EXPECT_EQ(g.unsolved.left, 84);
    EXPECT_EQ(g.more.left, 84);
    EXPECT_RECT(g.solved, RECT{83, 192, 415, 267});
    EXPECT_RECT(g.more, RECT{84, 392, 416, 467});
    EXPECT_RECT(g.close, RECT{478, 7, 493, 22});
    EXPECT_EQ(g.solvedStateInsideInset, kButtonHover);
    EXPECT_EQ(g.solvedStateWithinInset, kButtonNormal);
}
