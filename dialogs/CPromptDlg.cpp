#include "dialogs/CPromptDlg.h"

#include "framework/Scale.h"
#include "res/resource.h"

namespace {

const SkinFrameLayout kFrameLayout = {
    .frameTemplateId = IDD_PROMPT,
    .contentTemplateId = IDD_PROMPT_CHILD,
    .imageId = IDP_PROMPT_FRAME,  // the white panel in a dark shadow
    .designWidth = 336,        // the 330 x 150 picture is stretched to this
    .designHeight = 156,
    .atCreation = {5, 3, 5, 7},
    .onMove = {5, 3, 5, 7},
    .centredOnScreen = true,   // only the centred rectangle's size is used
    .moveSyncAtStart = 1,      // the frame carries the content until it is dragged
    .cancelsWithoutPicture = true,
};

// Design geometry at scale 1.0, client pixels.
const int kCloseRight = 26;    // close button's left edge, from the right
const int kCloseTop = 8;
const int kCloseSize = 12;
const int kAnswerWidth = 55;
const int kAnswerHeight = 24;
const int kAnswerTop = 107;
const int kAnswerGap = 12;     // from the middle to each answer button
const int kTextLeft = 10;      // and right
const int kTextTop = 50;
const int kTextBottom = 40;    // from the bottom

const UINT kHoverTimerId = 34;

const SkinContentLayout kContentLayout = {
    .imageId = IDP_PROMPT_CONTENT,
    .dragStripExclusion = kCloseRight,  // the close button's corner of the strip does not drag
    .hoverTimerId = kHoverTimerId,
    .swallowsEnterEscape = true,
};

// The answers' pictures and their names, the texts their pictures show.
struct AnswerSet {
    int ok[4];
    int cancel[4];
    const wchar_t* okName;
    const wchar_t* cancelName;
};
const AnswerSet kYesNo = {
    {IDP_YES_NORMAL, IDP_YES_HOVER, IDP_YES_PRESSED, IDP_YES_PRESSED},
    {IDP_NO_NORMAL, IDP_NO_HOVER, IDP_NO_PRESSED, IDP_NO_PRESSED},
    L"是", L"否"};
const AnswerSet kConfirmCancel = {
    {IDP_CONFIRM_NORMAL, IDP_CONFIRM_HOVER, IDP_CONFIRM_PRESSED, IDP_CONFIRM_PRESSED},
    {IDP_CANCEL_NORMAL, IDP_CANCEL_HOVER, IDP_CANCEL_PRESSED, IDP_CANCEL_PRESSED},
    L"确认", L"取消"};

}  // namespace

BEGIN_MESSAGE_MAP(CPromptChildDlg, CSkinContentDlg)
    ON_BN_CLICKED(IDC_PROMPT_OK, OnOkClicked)
    ON_BN_CLICKED(IDC_PROMPT_CANCEL, OnCancelClicked)
    ON_BN_CLICKED(IDC_CLOSE, OnCloseClicked)
END_MESSAGE_MAP()

CPromptChildDlg::CPromptChildDlg() : CSkinContentDlg(kContentLayout) {}

void CPromptChildDlg::DoDataExchange(CDataExchange* pDX)
{
    BindSkinControls(pDX, {{IDC_CLOSE, m_close, kHovers},
                           {IDC_PROMPT_OK, m_ok, kHovers},
                           {IDC_PROMPT_CANCEL, m_cancel, kHovers},
                           {IDC_PROMPT_TEXT, m_textStatic}});
}

void CPromptChildDlg::InitContent()
{
    const float s = GetScale();
    RECT client;
    GetClientRect(&client);
    const int width = client.right;
    const int height = client.bottom;

    const int closeLeft = width - Scaled(kCloseRight, s);
    m_close.MoveWindow(closeLeft, Scaled(kCloseTop, s), Scaled(kCloseSize, s), Scaled(kCloseSize, s));
    m_close.SetImages(IDP_PROMPT_CLOSE_NORMAL, IDP_PROMPT_CLOSE_HOVER, IDP_PROMPT_CLOSE_PRESSED, IDP_PROMPT_CLOSE_PRESSED);
    m_close.SetStretch(TRUE);

    const int answerWidth = Scaled(kAnswerWidth, s);
    const int answerHeight = Scaled(kAnswerHeight, s);
    const int answerTop = Scaled(kAnswerTop, s);
    int okLeft = width / 2 - answerWidth - Scaled(kAnswerGap, s);
    const int cancelLeft = width / 2 + Scaled(kAnswerGap, s);
    m_ok.SetStretch(TRUE);
    m_cancel.SetStretch(TRUE);

    // Types other than 1 to 4 are never set; they show the "确认" set with both answers.
    const bool yesNo = m_type == kPromptYes || m_type == kPromptYesNo;
    const bool single = m_type == kPromptYes || m_type == kPromptConfirm;
    const AnswerSet& answers = yesNo ? kYesNo : kConfirmCancel;
    m_ok.SetImages(answers.ok[0], answers.ok[1], answers.ok[2], answers.ok[3]);
    m_cancel.SetImages(answers.cancel[0], answers.cancel[1], answers.cancel[2], answers.cancel[3]);
    m_ok.SetWindowText(answers.okName);
    m_cancel.SetWindowText(answers.cancelName);
    m_ok.ShowWindow(SW_SHOW);
    m_cancel.ShowWindow(single ? SW_HIDE : SW_SHOW);
    if (single) {
        okLeft = static_cast<int>(width / 2 - answerWidth / 2.0f);
    }
    m_ok.MoveWindow(okLeft, answerTop, answerWidth, answerHeight);
    m_cancel.MoveWindow(cancelLeft, answerTop, answerWidth, answerHeight);

    m_textStatic.SetWindowText(m_text);
    const int textLeft = Scaled(kTextLeft, s);
    const int textTop = Scaled(kTextTop, s);
    m_textStatic.MoveWindow(textLeft, textTop, width - textLeft - textLeft, height - Scaled(kTextBottom, s) - textTop);
    m_textStatic.CreateFontFromParent();
}

void CPromptChildDlg::OnOkClicked()
{
    TellFrame(WM_PROMPT_RESULT, kPromptOk);
}

void CPromptChildDlg::OnCancelClicked()
{
    TellFrame(WM_PROMPT_RESULT, kPromptCancel);
}

void CPromptChildDlg::OnCloseClicked()
{
    TellFrame(WM_CLOSE);
}

// The frame ends the prompt; a content without its frame has no one to answer to.
void CPromptChildDlg::TellFrame(UINT message, WPARAM wParam)
{
    if (CSkinFrameDlg* frame = GetFrame()) {
        frame->SendMessage(message, wParam);
    }
}

BEGIN_MESSAGE_MAP(CPromptDlg, CSkinFrameDlg)
    ON_MESSAGE(WM_PROMPT_RESULT, OnPromptResult)
END_MESSAGE_MAP()

CPromptDlg::CPromptDlg(CWnd* parent) : CSkinFrameDlg(kFrameLayout, parent) {}

const SkinFrameLayout& CPromptDlg::FrameLayout()
{
    return kFrameLayout;
}

std::unique_ptr<CSkinContentDlg> CPromptDlg::MakeContent()
{
    auto content = std::make_unique<CPromptChildDlg>();
    content->SetText(m_text);
    content->SetType(m_type);
    return content;
}

LRESULT CPromptDlg::OnPromptResult(WPARAM answer, LPARAM)
{
    if (answer == kPromptOk) {
        OnOK();
    } else {
        OnCancel();
    }
    return 0;
}
