#include "dialogs/CProblemSolvingFeedbackDlg.h"

#include <cstdint>
#include <cwchar>

#include "framework/Scale.h"
#include "repair/CFeedbackLibrary.h"
#include "repair/MakerPages.h"
#include "repair/ToolIdentity.h"
#include "res/resource.h"

namespace {

const UINT kBackgroundId = IDP_FEEDBACK_CONTENT;
const UINT kHoverTimerId = 37;

const SkinFrameLayout kFrameLayout = {
    .frameTemplateId = IDD_FEEDBACK,
    .contentTemplateId = IDD_FEEDBACK_CHILD,
    .imageId = IDP_FEEDBACK_FRAME,  // the dark blue panel in a grey shadow
    .designWidth = 410,
    .designHeight = 479,
    .atCreation = {5, 4, 5, 7},
    .onMove = {5, 4, 5, 7},
    .centredOnScreen = true,   // only the centred rectangle's size is used
    .ownScale = true,
    .moveSyncAtStart = 1,      // the frame carries the content until it is dragged
    .swallowsEnterEscape = true,
    .cancelsWithoutPicture = true,
};

const SkinContentLayout kContentLayout = {
    .imageId = kBackgroundId,
    .dragStripExclusion = 26,  // the close button's corner of the strip does not drag
    .hoverTimerId = kHoverTimerId,
    .swallowsEnterEscape = true,
};

// Design geometry at scale 1.0, client pixels.
const int kCloseRight = 18;    // close button's left edge, from the right
const int kCloseTop = 6;
const int kCloseSize = 12;
const int kDesignWidth = 400;  // the content's design size, for scaled placement
const int kDesignHeight = 468;
const int kButtonWidth = 266;
const int kButtonHeight = 60;
const int kButtonStep = 80;    // from one large button's top to the next
const int kHitInset = 9;

// The part of PNG 169 behind each large button, never scaled.
const RECT kSolvedSlice = {67, 154, 333, 214};
const RECT kUnsolvedSlice = {67, 234, 333, 294};
const RECT kMoreSolutionsSlice = {67, 314, 333, 374};

RECT Sized(int left, int top, int width, int height)
{
    return RECT{left, top, left + width, top + height};
}

void SetUpLargeButton(CFeaturePngButton& button, const PngImage* background, const RECT& place, const RECT& slice,
                      int hitInset, const int (&images)[4])
{
    button.SetBackgroundImage(background);
    button.SetBackgroundRect(slice.left, slice.top, slice.right, slice.bottom);
    button.SetStretch(TRUE);
    button.SetHitInset(hitInset, hitInset, hitInset, hitInset);
    button.SetImages(images[0], images[1], images[2], images[3]);
    button.MoveWindow(place);
}

}  // namespace

// Two rounding rules, as the pop-up has always placed its buttons: up to 400 pixels wide the
// rectangles are unscaled around the client's middle; wider, they come from the design size,
// the solved button's left edge cut once and the others' cut in two parts, so at 1.25 the
// solved button sits one pixel left of the others (83 against 84).
FeedbackButtonPlaces PlaceFeedbackButtons(const RECT& client, float s)
{
    FeedbackButtonPlaces places{};
    const int closeLeft = client.right - Scaled(kCloseRight, s);
    const int closeTop = client.top + Scaled(kCloseTop, s);
    places.close = Sized(closeLeft, closeTop, Scaled(kCloseSize, s), Scaled(kCloseSize, s));

    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= kDesignWidth) {
        const int left = client.left + width / 2 - kButtonWidth / 2;
        const int middle = client.top + height / 2;
        places.solved = Sized(left, middle - kButtonStep, kButtonWidth, kButtonHeight);
        places.unsolved = Sized(left, middle, kButtonWidth, kButtonHeight);
        places.moreSolutions = Sized(left, middle + kButtonStep, kButtonWidth, kButtonHeight);
        places.hitInset = kHitInset;
        return places;
    }
    const float halfWidth = kDesignWidth * s / 2;
    const float halfHeight = kDesignHeight * s / 2;
    const float halfButton = kButtonWidth * s / 2;
    const int step = Scaled(kButtonStep, s);
    const int buttonWidth = Scaled(kButtonWidth, s);
    const int buttonHeight = Scaled(kButtonHeight, s);
    const int solvedLeft = client.left + static_cast<int>(halfWidth - halfButton);
    const int solvedTop = client.top + static_cast<int>(halfHeight - static_cast<float>(step));
    const int otherLeft = client.left + static_cast<int>(halfWidth) - static_cast<int>(halfButton);
    const int unsolvedTop = client.top + static_cast<int>(halfHeight);
    places.solved = Sized(solvedLeft, solvedTop, buttonWidth, buttonHeight);
    places.unsolved = Sized(otherLeft, unsolvedTop, buttonWidth, buttonHeight);
    places.moreSolutions = Sized(otherLeft, unsolvedTop + step, buttonWidth, buttonHeight);
    places.hitInset = Scaled(kHitInset, s);
    return places;
}

std::wstring FeedbackTimeText(__time64_t secondsSince1970)
{
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(secondsSince1970) & 0xFFFFFFFFu);
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", static_cast<std::int32_t>(low));
    return text;
}

BEGIN_MESSAGE_MAP(CProblemSolvingFeedbackChildDlg, CSkinContentDlg)
    ON_BN_CLICKED(IDC_SOLVED, OnSolvedClicked)
    ON_BN_CLICKED(IDC_UNSOLVED, OnUnsolvedClicked)
    ON_BN_CLICKED(IDC_FEEDBACK_CLOSE, OnCloseClicked)
    ON_BN_CLICKED(IDC_MORE_SOLUTIONS, OnMoreSolutionsClicked)
END_MESSAGE_MAP()

CProblemSolvingFeedbackChildDlg::CProblemSolvingFeedbackChildDlg() : CSkinContentDlg(kContentLayout) {}

void CProblemSolvingFeedbackChildDlg::DoDataExchange(CDataExchange* pDX)
{
    BindSkinControls(pDX, {{IDC_FEEDBACK_CLOSE, m_close, kHovers},
                           {IDC_SOLVED, m_solved, kHovers},
                           {IDC_UNSOLVED, m_unsolved, kHovers},
                           {IDC_MORE_SOLUTIONS, m_moreSolutions, kHovers}});
}

void CProblemSolvingFeedbackChildDlg::InitContent()
{
    GetClientRect(&m_clientRect);
    const FeedbackButtonPlaces places = PlaceFeedbackButtons(m_clientRect, GetScale());

    m_close.MoveWindow(places.close);
    m_close.SetImages(IDP_FEEDBACK_CLOSE_NORMAL, IDP_FEEDBACK_CLOSE_HOVER, IDP_FEEDBACK_CLOSE_PRESSED,
                      IDP_FEEDBACK_CLOSE_DISABLED);
    m_close.SetStretch(TRUE);

    SetUpLargeButton(m_solved, GetBackground(), places.solved, kSolvedSlice, places.hitInset,
                     {IDP_SOLVED_NORMAL, IDP_SOLVED_HOVER, IDP_SOLVED_PRESSED, IDP_SOLVED_DISABLED});
    SetUpLargeButton(m_unsolved, GetBackground(), places.unsolved, kUnsolvedSlice, places.hitInset,
                     {IDP_UNSOLVED_NORMAL, IDP_UNSOLVED_HOVER, IDP_UNSOLVED_PRESSED, IDP_UNSOLVED_DISABLED});
    SetUpLargeButton(m_moreSolutions, GetBackground(), places.moreSolutions, kMoreSolutionsSlice, places.hitInset,
                     {IDP_MORE_SOLUTIONS_NORMAL, IDP_MORE_SOLUTIONS_HOVER, IDP_MORE_SOLUTIONS_PRESSED,
                      IDP_MORE_SOLUTIONS_DISABLED});
}

RECT CProblemSolvingFeedbackChildDlg::BackgroundRect() const
{
    return ::IsRectEmpty(&m_clientRect) ? CSkinContentDlg::BackgroundRect() : m_clientRect;
}

void CProblemSolvingFeedbackChildDlg::OnSolvedClicked()
{
    Answer(kAnswerSolved);
}

void CProblemSolvingFeedbackChildDlg::OnUnsolvedClicked()
{
    Answer(kAnswerUnsolved);
}

void CProblemSolvingFeedbackChildDlg::OnCloseClicked()
{
    Answer(kAnswerClosed);
}

// One report per pop-up: a click that arrives after the answer, while the pop-up is still
// on its way out, reports nothing more.
void CProblemSolvingFeedbackChildDlg::Answer(int code)
{
    if (m_answered) {
        return;
    }
    m_answered = true;
    if (m_feedback) {
        const std::wstring timeText = FeedbackTimeText(_time64(nullptr));
        m_feedback->CustomerFeedbackEx(TOOL_ID, TOOL_VERSION, code, timeText.c_str());
        m_feedback->FeedbackQuestion(TOOL_ID, TOOL_VERSION);
    }
    if (CSkinFrameDlg* frame = GetFrame()) {
        frame->SendMessage(WM_CLOSE);
    }
}

void CProblemSolvingFeedbackChildDlg::OnMoreSolutionsClicked()
{
    if (m_feedback) {
        m_feedback->OpenUrl(kKnowledgeBaseRoot);
    }
}

CProblemSolvingFeedbackDlg::CProblemSolvingFeedbackDlg(CWnd* parent) : CSkinFrameDlg(kFrameLayout, parent) {}

BOOL CProblemSolvingFeedbackDlg::OnInitDialog()
{
    SetWindowText(L"Quenmar软件名称显示乱码修复工具");
    return CSkinFrameDlg::OnInitDialog();
}

std::unique_ptr<CSkinContentDlg> CProblemSolvingFeedbackDlg::MakeContent()
{
    auto content = std::make_unique<CProblemSolvingFeedbackChildDlg>();
    content->SetFeedbackLibrary(m_feedback);
    return content;
}
