// The agreement bubble on real windows, owned by a stand-in panel that runs modally as the
// main panel does: its text and rich edit, the skinned bar, typing, showing and hiding, the
// picture after the panel gives it another size, and its teardown.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "controls/CSkinScrollWnd.h"
#include "dialogs/AgreementText.h"
#include "dialogs/CTooltipDlg.h"
#include "dialogs/LayeredPicture.h"
#include "framework/Scale.h"
#include "res/resource.h"
#include "tests/popups/PopupsTestIds.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

const DWORD kGiveUpMs = 8000;

// The panel's stand-in: 400 x 600 (times the scale), painted black so that the bubble's
// picture stands out against it.
class TestPanel : public CDialog {
public:
    explicit TestPanel(float scale) : CDialog(IDD_TEST_PANEL), m_scale(scale) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        MoveWindow(60, 30, Scaled(400, m_scale), Scaled(600, m_scale));
        return TRUE;
    }
    BOOL OnEraseBkgnd(HDC dc)
    {
        RECT client;
        GetClientRect(&client);
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return TRUE;
    }

    DECLARE_MESSAGE_MAP()

private:
    float m_scale;
};

BEGIN_MESSAGE_MAP(TestPanel, CDialog)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

using Act = std::function<void(TestPanel&, std::unique_ptr<CTooltipDlg>&)>;

TestPanel* g_running = nullptr;

// A step that never ends the panel fails the test instead of hanging it.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_running && g_running->m_hWnd) {
        ADD_FAILURE() << "gave up waiting";
        g_running->EndDialog(IDABORT);
    }
}

// Runs the stand-in panel modally; once it shows, creates the bubble as the panel does and
// does `act`, which ends the panel. The bubble is deleted after the panel, if `act` has not.
void WithBubble(float scale, const Act& act)
{
    TestPanel panel(scale);
    std::unique_ptr<CTooltipDlg> bubble;
    Later(60, [&] {
        bubble = std::make_unique<CTooltipDlg>();
        bubble->SetScale(scale);
        if (!bubble->Create(IDD_TOOLTIP, &panel)) {
            ADD_FAILURE() << "the bubble could not be created";
            panel.EndDialog(IDABORT);
            return;
        }
        act(panel, bubble);
    });
    g_running = &panel;
    const UINT_PTR giveUp = ::SetTimer(nullptr, 0, kGiveUpMs, &GiveUp);
    panel.DoModal();
    ::KillTimer(nullptr, giveUp);
    g_running = nullptr;
    bubble.reset();
}

// What the panel does on a click on the agreement link: place the bubble over its lower part
// and show it.
RECT PlaceAndShow(TestPanel& panel, CTooltipDlg& bubble, float s)
{
    const RECT p = WindowScreenRect(panel.m_hWnd);
    const RECT place{p.left + Scaled(2, s), p.top + Scaled(108, s), p.left + Scaled(2, s) + (p.right - p.left) - Scaled(2, s),
                     p.top + Scaled(108, s) + (p.bottom - p.top) - Scaled(128, s)};
    bubble.MoveWindow(place, TRUE);
    bubble.ShowWindow(SW_SHOW);
    bubble.ShowContent(CTooltipDlg::kShown);
    return place;
}

std::wstring WithoutCrLf(std::wstring text)
{
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at)) {
        text.erase(at + 1, 1);
        ++at;
    }
    return text;
}

bool IsWhite(COLORREF c)
{
    return GetRValue(c) > 235 && GetGValue(c) > 235 && GetBValue(c) > 235;
}

// White or the bubble's light grey outline.
bool IsBubble(COLORREF c)
{
    return GetRValue(c) > 190 && GetGValue(c) > 190 && GetBValue(c) > 200;
}

bool IsBlack(COLORREF c)
{
    return GetRValue(c) < 20 && GetGValue(c) < 20 && GetBValue(c) < 20;
}

// The bubble's picture composition, without a window.
class BubblePicture : public CTooltipDlg {
public:
    using CTooltipDlg::DrawPicture;
};

const DWORD kWhite = 0xFFFFFFFF;
const DWORD kOutline = 0xFFCED2DA;  // (206, 210, 218), opaque

class AgreementBubble : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxInitRichEdit());
        MovePointer(POINT{1200, 1000}, Waiting::Pump);
        ASSERT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    }
    void TearDown() override { EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0); }
};

}  // namespace

TEST(AgreementBubblePicture, CoversAnySizeWithASharpOutlineAndTheTailAtTheBottom)
{
    for (const float s : {1.0f, 1.25f}) {
        SCOPED_TRACE(s);
        const int width = Scaled(398, s);
        const int height = Scaled(472, s);
        BubblePicture bubble;
        bubble.SetScale(s);
        LayeredPicture picture(width, height);
        ASSERT_TRUE(picture.Valid());
        ASSERT_TRUE(bubble.DrawPicture(picture, IDP_AGREEMENT_BUBBLE));

        const int bodyBottom = height - Scaled(11, s);  // the tail's rows below
        const int tailX = Scaled(85, s);
        // One-pixel outline on every side, white inside, no seams where the parts meet.
        int outlineTop = 0, outlineLeft = 0, outlineRight = 0, outlineBottom = 0, whiteRow = 0;
        for (int x = 0; x < width; ++x) {
            outlineTop += picture.Pixel(x, 0) == kOutline ? 1 : 0;
            outlineBottom += picture.Pixel(x, bodyBottom - 1) == kOutline ? 1 : 0;
            whiteRow += (x > 0 && x < width - 1 && picture.Pixel(x, bodyBottom - 2) == kWhite) ? 1 : 0;
        }
        for (int y = 0; y < bodyBottom; ++y) {
            outlineLeft += picture.Pixel(0, y) == kOutline ? 1 : 0;
            outlineRight += picture.Pixel(width - 1, y) == kOutline ? 1 : 0;
        }
        EXPECT_EQ(outlineTop, width);
        EXPECT_EQ(outlineLeft, bodyBottom);
        EXPECT_EQ(outlineRight, bodyBottom);
        EXPECT_EQ(whiteRow, width - 2);
        // The bottom outline opens into the tail, right above it, and only there.
        EXPECT_GT(outlineBottom, width - Scaled(16, s));
        EXPECT_LT(outlineBottom, width - Scaled(8, s));
        EXPECT_NE(picture.Pixel(tailX, bodyBottom - 1), kOutline);
        EXPECT_EQ(picture.Pixel(tailX, bodyBottom - 1) >> 24, 255u);
        // The tail: opaque at its root and tip, clear beside it, in the bottom rows only.
        EXPECT_EQ(picture.Pixel(tailX, bodyBottom), kWhite);
        EXPECT_GT(picture.Pixel(tailX, height - 1) >> 24, 200u);
        EXPECT_EQ(picture.Pixel(tailX - Scaled(10, s), height - 1), 0u);
        EXPECT_EQ(picture.Pixel(tailX + Scaled(10, s), height - 1), 0u);
        EXPECT_EQ(picture.Pixel(tailX + Scaled(40, s), bodyBottom), 0u);
        EXPECT_EQ(picture.Pixel(width - 1, height - 1), 0u);
    }
}

TEST_F(AgreementBubble, IsCreatedHiddenWithTheAgreementInAReadOnlyWrappedRichEditAndASkinnedBar)
{
    WithBubble(1.0f, [](TestPanel& panel, std::unique_ptr<CTooltipDlg>& bubble) {
        CTooltipChildDlg* content = bubble->GetTooltipContent();
        ASSERT_NE(content, nullptr);
        HWND edit = content->RichEdit().m_hWnd;
        EXPECT_FALSE(bubble->IsWindowVisible());
        EXPECT_EQ(bubble->GetOwner(), panel.m_hWnd);
        EXPECT_EQ(content->GetOwner(), bubble->m_hWnd);
        const RECT frame = WindowScreenRect(bubble->m_hWnd);
        EXPECT_EQ(frame.right - frame.left, 396);
        EXPECT_EQ(frame.bottom - frame.top, 482);
        const RECT place = WindowScreenRect(content->m_hWnd);
        EXPECT_EQ(place.left - frame.left, 1);
        EXPECT_EQ(place.top - frame.top, 1);
        EXPECT_EQ(place.right - place.left, 394);
        EXPECT_EQ(place.bottom - place.top, 464);

        // The text as set: the 63 lines of the agreement; the control keeps them as paragraphs.
        EXPECT_EQ(ClassName(edit), L"RichEdit20W");
        const std::wstring shown = WithoutCrLf(WindowText(edit));
        EXPECT_EQ(shown, WithoutCrLf(AgreementForDisplay(BuildAgreementText())));
        size_t breaks = 0;
        for (wchar_t c : shown) {
            breaks += (c == L'\r' || c == L'\n') ? 1 : 0;
        }
        EXPECT_EQ(breaks + 1, 63u);
        EXPECT_TRUE(::GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);

        // Wrapped in the skinned scroll frame, which took the control's id, 8 pixels inside
        // the content.
        HWND scrollFrame = content->GetDlgItem(IDC_AGREEMENT_EDIT);
        ASSERT_NE(scrollFrame, edit);
        EXPECT_EQ(WindowText(scrollFrame), L"SkinScrollBarFrame");
        EXPECT_EQ(::GetParent(::GetParent(edit)), scrollFrame);
        EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 1);
        const RECT editPlace = ChildRect(scrollFrame);
        EXPECT_EQ(editPlace.left, 8);
        EXPECT_EQ(editPlace.top, 8);
        EXPECT_EQ(editPlace.right, 394 - 8);
        EXPECT_EQ(editPlace.bottom, 464 - 8);
        HWND bar = ::GetDlgItem(scrollFrame, CSkinScrollWnd::kVerticalBarId);
        EXPECT_TRUE(::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE);
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(bar) != FALSE; }, 1500)) << "the long text scrolls";

        // Wrapped at the control's width: more display lines than paragraphs, every line
        // starting inside the control's text area, and that area within the visible part of
        // the control (the clip window beside the bar) once the panel has placed the bubble.
        PlaceAndShow(panel, *bubble, 1.0f);
        PumpFor(100);
        const int displayLines = static_cast<int>(::SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
        EXPECT_GT(displayLines, 63 + 60);
        RECT textArea;
        ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&textArea));
        RECT visible;
        ::GetClientRect(::GetParent(edit), &visible);
        EXPECT_LE(textArea.right, visible.right);
        EXPECT_GT(textArea.right, visible.right - 8);
        int lastStart = 0;
        for (int line = 0; line < displayLines; ++line) {
            const int first = static_cast<int>(::SendMessageW(edit, EM_LINEINDEX, line, 0));
            const int length = static_cast<int>(::SendMessageW(edit, EM_LINELENGTH, first, 0));
            if (length > 0) {
                const LRESULT pos = ::SendMessageW(edit, EM_POSFROMCHAR, first + length - 1, 0);
                lastStart = std::max(lastStart, static_cast<int>(static_cast<short>(LOWORD(pos))));
            }
        }
        EXPECT_GT(lastStart, textArea.right - 30) << "lines fill the width";
        EXPECT_LT(lastStart, textArea.right - 6) << "each line's last character fits";
        panel.EndDialog(IDOK);
    });
}

TEST_F(AgreementBubble, TypingChangesNothingEscapePutsTheBubbleAwayAndTheBarScrolls)
{
    bool focused = false;
    std::wstring before, after;
    bool shownAfterEscape = true;
    int firstLineAfterArrow = 0;
    WithBubble(1.0f, [&](TestPanel& panel, std::unique_ptr<CTooltipDlg>& bubble) {
        PlaceAndShow(panel, *bubble, 1.0f);
        CTooltipChildDlg* content = bubble->GetTooltipContent();
        HWND edit = content->RichEdit().m_hWnd;
        before = WindowText(edit);
        // The lower arrow of the skinned bar scrolls the text.
        HWND bar = ::GetDlgItem(content->GetDlgItem(IDC_AGREEMENT_EDIT), CSkinScrollWnd::kVerticalBarId);
        const RECT barRect = WindowScreenRect(bar);
        ClickAt(POINT{(barRect.left + barRect.right) / 2, barRect.bottom - 4}, Waiting::Pump);
        PumpUntil([&] { return ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0) > 0; }, 1000);
        firstLineAfterArrow = static_cast<int>(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));

        const RECT editRect = WindowScreenRect(edit);
        ClickAt(POINT{editRect.left + 40, editRect.top + 30}, Waiting::Pump);
        PumpFor(100);
        focused = ::GetFocus() == edit;
        // The keys go through the panel's modal loop, as the user's would.
        for (WORD key : {WORD('X'), WORD(VK_SPACE), WORD(VK_BACK), WORD(VK_DELETE), WORD(VK_RETURN)}) {
            PressKey(key);
        }
        Later(300, [&, edit, content] {
            after = WindowText(edit);
            PressKey(VK_ESCAPE);
            Later(300, [&, content] {
                shownAfterEscape = bubble->IsWindowVisible() || content->IsWindowVisible();
                panel.EndDialog(IDOK);
            });
        });
    });
    EXPECT_GT(firstLineAfterArrow, 0);
    EXPECT_TRUE(focused) << "the click put the focus in the text";
    EXPECT_EQ(after, before);
    EXPECT_FALSE(shownAfterEscape) << "frame and content both hidden";
}

TEST_F(AgreementBubble, ShowContentShowsAndHidesTheContent)
{
    WithBubble(1.0f, [](TestPanel& panel, std::unique_ptr<CTooltipDlg>& bubble) {
        PlaceAndShow(panel, *bubble, 1.0f);
        CTooltipChildDlg* content = bubble->GetTooltipContent();
        EXPECT_TRUE(content->IsWindowVisible());
        bubble->ShowWindow(SW_HIDE);
        bubble->ShowContent(CTooltipDlg::kHidden);
        EXPECT_FALSE(content->IsWindowVisible());
        EXPECT_FALSE(bubble->IsWindowVisible());
        bubble->ShowWindow(SW_SHOW);
        bubble->ShowContent(CTooltipDlg::kShown);
        EXPECT_TRUE(content->IsWindowVisible());
        bubble->ShowContent(CTooltipDlg::kHidden);
        EXPECT_FALSE(content->IsWindowVisible());
        EXPECT_TRUE(bubble->IsWindowVisible());
        panel.EndDialog(IDOK);
    });
}

TEST_F(AgreementBubble, PlacedByThePanelItsPictureCoversTheNewSizeWithTheTailBelowTheContent)
{
    for (const float s : {1.0f, 1.25f}) {
        SCOPED_TRACE(s);
        WithBubble(s, [s](TestPanel& panel, std::unique_ptr<CTooltipDlg>& bubble) {
            const RECT place = PlaceAndShow(panel, *bubble, s);
            if (s == 1.0f) {
                EXPECT_EQ(place.right - place.left, 398);
                EXPECT_EQ(place.bottom - place.top, 472);
            }
            PumpFor(150);
            CTooltipChildDlg* content = bubble->GetTooltipContent();
            const RECT frame = WindowScreenRect(bubble->m_hWnd);
            EXPECT_TRUE(::EqualRect(&frame, &place));
            const RECT c = WindowScreenRect(content->m_hWnd);
            EXPECT_EQ(c.left, frame.left + Scaled(1, s));
            EXPECT_EQ(c.top, frame.top + Scaled(1, s));
            EXPECT_EQ(c.right, frame.right - Scaled(2, s));
            EXPECT_EQ(c.bottom, frame.bottom - Scaled(18, s));
            // The rich edit keeps its distance from the content's edges.
            const RECT edit = WindowScreenRect(content->GetDlgItem(IDC_AGREEMENT_EDIT));
            EXPECT_EQ(edit.bottom, c.bottom - Scaled(8, s));
            EXPECT_EQ(edit.right, c.right - Scaled(8, s));

            // On the screen, against the black panel: the tail below the content, white
            // between them, the panel where the picture is clear.
            const int tailX = frame.left + Scaled(85, s);
            const int tailTop = frame.bottom - Scaled(11, s);
            EXPECT_GT(tailTop, c.bottom) << "the tail lies below the content";
            EXPECT_TRUE(IsBubble(ScreenPixel(tailX, frame.bottom - 2))) << "tip of the tail";
            EXPECT_TRUE(IsWhite(ScreenPixel(tailX, tailTop + 1))) << "root of the tail";
            for (int y = c.bottom; y < tailTop - 1; ++y) {
                EXPECT_TRUE(IsWhite(ScreenPixel(frame.left + 200, y))) << "row " << y;
            }
            EXPECT_TRUE(IsBlack(ScreenPixel(tailX - Scaled(12, s), frame.bottom - 2)));
            EXPECT_TRUE(IsBlack(ScreenPixel(tailX + Scaled(12, s), frame.bottom - 2)));
            EXPECT_TRUE(IsBlack(ScreenPixel(frame.right - 3, frame.bottom - 3)));
            EXPECT_TRUE(IsBlack(ScreenPixel(frame.left - 1, frame.top + 100))) << "the panel beside it";
            panel.EndDialog(IDOK);
        });
    }
}

TEST_F(AgreementBubble, DeletingTheBubbleDestroysBothWindowsAndUnwrapsTheRichEdit)
{
    WithBubble(1.0f, [](TestPanel& panel, std::unique_ptr<CTooltipDlg>& bubble) {
        PlaceAndShow(panel, *bubble, 1.0f);
        HWND frame = bubble->m_hWnd;
        HWND content = bubble->GetTooltipContent()->m_hWnd;
        HWND edit = bubble->GetTooltipContent()->RichEdit().m_hWnd;
        ASSERT_EQ(CSkinScrollWnd::LiveFrames(), 1);
        bubble.reset();
        EXPECT_FALSE(::IsWindow(frame));
        EXPECT_FALSE(::IsWindow(content));
        EXPECT_FALSE(::IsWindow(edit));
        EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0);
        panel.EndDialog(IDOK);
    });
}

TEST_F(AgreementBubble, APanelThatGoesFirstTakesTheBubblesWindowsWithIt)
{
    HWND frame = nullptr;
    HWND content = nullptr;
    WithBubble(1.0f, [&](TestPanel& panel, std::unique_ptr<CTooltipDlg>& bubble) {
        PlaceAndShow(panel, *bubble, 1.0f);
        frame = bubble->m_hWnd;
        content = bubble->GetTooltipContent()->m_hWnd;
        panel.EndDialog(IDOK);
    });
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_FALSE(::IsWindow(content));
}
