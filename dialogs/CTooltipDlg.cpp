#include "dialogs/CTooltipDlg.h"

#include <algorithm>

#include "controls/CSkinScrollWnd.h"
#include "dialogs/AgreementText.h"
#include "dialogs/LayeredPicture.h"
#include "framework/CWinApp.h"
#include "framework/Scale.h"
#include "res/resource.h"

namespace {

const UINT kBubbleImageId = IDP_AGREEMENT_BUBBLE;
const UINT kScrollSkinId = IDB_SCROLL_SKIN;

const SkinFrameLayout kFrameLayout = {
    .frameTemplateId = IDD_TOOLTIP,
    .contentTemplateId = IDD_TOOLTIP_CHILD,
    .imageId = kBubbleImageId,
    .designWidth = 396,
    .designHeight = 482,
    .atCreation = {1, 1, 1, 17},  // the content's own place is set in OnContentPlaced
    .onMove = {1, 1, 2, 18},
    .moveSyncAtStart = 1,
    .swallowsEnterEscape = false,  // Enter and Escape reach the dialog manager (and hide it)
    .cancelsWithoutPicture = false,  // modeless: its owner decides when it goes
};

const SkinContentLayout kContentLayout = {
    .imageId = kBubbleImageId,
    .imageTrimRight = 1,       // the white rectangle without the tail
    .imageTrimBottom = 18,
    .dragStripExclusion = skin::kNoDragStrip,
    .hoverTimerId = 0,         // nothing hovers
};

// The bubble's image, PNG 183 (541 x 402): a white rectangle with a one-pixel outline in the
// top 391 rows and below it, in the bottom 11 rows, a tail centred 85 pixels from the left,
// less than 20 pixels wide.
const int kImageWidth = 541;
const int kImageBodyRows = 391;
const int kImageHeight = 402;
const int kTailCentre = 85;
const int kTailHalfWidth = 15;  // of the strip taken around the tail
const int kTailRows = kImageHeight - kImageBodyRows;

// The content's own place in the frame at creation (scale 1.0).
const int kContentLeft = 1;
const int kContentTop = 1;
const int kContentWidthLess = 2;
const int kContentHeightLess = 18;

// The rich edit's distance from the content's edges.
const int kEditInset = 8;

}  // namespace

// The picture is laid out for whatever size the frame has. Stretching the whole image would
// stretch the tail with it and move it sideways, and blur the rectangle's one-pixel outline;
// instead the rectangle takes the frame's whole width and all but the tail's rows, and the
// tail keeps its size (times the scale) and its place 85 pixels from the left, at the very
// bottom, below the content. The column above the tail, where the rectangle's outline opens
// into the tail, is kept at the tail's scale so that the opening stays over the tail.
BubbleParts PlaceBubbleParts(int width, int height, float s)
{
    const int tailHeight = std::min(Scaled(kTailRows, s), height);
    const int bodyBottom = height - tailHeight;
    const int stripLeft = Scaled(kTailCentre, s) - Scaled(kTailHalfWidth, s);
    const int stripRight = Scaled(kTailCentre, s) + Scaled(kTailHalfWidth, s);
    const int sourceLeft = kTailCentre - kTailHalfWidth;
    const int sourceRight = kTailCentre + kTailHalfWidth;
    BubbleParts parts{};
    parts.bodyLeft = {RECT{0, 0, stripLeft, bodyBottom}, RECT{0, 0, sourceLeft, kImageBodyRows}};
    parts.bodyMiddle = {RECT{stripLeft, 0, stripRight, bodyBottom}, RECT{sourceLeft, 0, sourceRight, kImageBodyRows}};
    parts.bodyRight = {RECT{stripRight, 0, width, bodyBottom}, RECT{sourceRight, 0, kImageWidth, kImageBodyRows}};
    parts.tail = {RECT{stripLeft, bodyBottom, stripRight, height}, RECT{sourceLeft, kImageBodyRows, sourceRight, kImageHeight}};
    return parts;
}

// Wine's rich edit keeps a paragraph on one row when it starts with spaces and then changes
// script (the clause numbers and items, "Tovarin" in a Chinese sentence): it finds no place to
// break. Ideographic spaces are not spaces to it, so such paragraphs wrap at the control's
// width as they do on Windows.
std::wstring AgreementForDisplay(const std::wstring& text)
{
    static const wchar_t kIndent[] = L"    ";
    static const wchar_t kDisplayIndent[] = L"\u3000\u3000";
    std::wstring shown;
    shown.reserve(text.size());
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L"\r\n", start);
        const bool last = end == std::wstring::npos;
        if (last) {
            end = text.size();
        }
        if (text.compare(start, 4, kIndent) == 0) {
            shown += kDisplayIndent;
            start += 4;
        }
        shown.append(text, start, end - start);
        if (last) {
            break;
        }
        shown += L"\r\n";
        start = end + 2;
    }
    return shown;
}

BEGIN_MESSAGE_MAP(CTooltipChildDlg, CSkinContentDlg)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CTooltipChildDlg::CTooltipChildDlg() : CSkinContentDlg(kContentLayout) {}

void CTooltipChildDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_AGREEMENT_EDIT, m_richEdit);
}

void CTooltipChildDlg::InitContent()
{
    PlaceRichEdit();
    m_scrollSkin.Reset(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kScrollSkinId)));
    WrapWithSkinScroll(m_richEdit.m_hWnd, m_scrollSkin.Get(), GetScale(), 0);
    ::SetWindowTextW(m_richEdit.m_hWnd, AgreementForDisplay(BuildAgreementText()).c_str());
    m_laidOut = true;
}

// The rich edit (its scroll frame once wrapped, which holds the control's id) keeps its
// distance from the content's edges.
void CTooltipChildDlg::PlaceRichEdit()
{
    HWND edit = GetDlgItem(IDC_AGREEMENT_EDIT);
    if (!edit) {
        return;
    }
    RECT client;
    GetClientRect(&client);
    const int inset = Scaled(kEditInset, GetScale());
    ::MoveWindow(edit, client.left + inset, client.top + inset, client.right - client.left - 2 * inset,
                 client.bottom - client.top - 2 * inset, TRUE);
}

// The owner gives the bubble another size once it places it: the rich edit follows, so that
// its bottom edge and the scroll bar's lower arrow are not cut off by the content's edge.
void CTooltipChildDlg::OnSize(UINT, int, int)
{
    Default();
    if (m_laidOut) {
        PlaceRichEdit();
    }
}

void CTooltipChildDlg::ReleaseContent()
{
    // The scroll frame borrows the skin: the control is unwrapped first (the frame is freed),
    // then the skin is deleted.
    if (m_richEdit.m_hWnd) {
        UnwrapSkinScroll(m_richEdit.m_hWnd);
    }
    m_scrollSkin.Reset();
    m_laidOut = false;
}

CTooltipDlg::CTooltipDlg(CWnd* parent) : CSkinFrameDlg(kFrameLayout, parent) {}

// The rich edit's library is loaded with the first bubble, not at start-up.
std::unique_ptr<CSkinContentDlg> CTooltipDlg::MakeContent()
{
    AfxInitRichEdit();
    return std::make_unique<CTooltipChildDlg>();
}

// At creation the content lies at (1, 1) with the frame's size less (2, 18), all times the
// scale; the tail's rows stay free below it.
void CTooltipDlg::OnContentPlaced(CSkinContentDlg& content)
{
    const float s = GetScale();
    RECT frame;
    GetWindowRect(&frame);
    content.MoveWindow(frame.left + Scaled(kContentLeft, s), frame.top + Scaled(kContentTop, s),
                       frame.right - frame.left - Scaled(kContentWidthLess, s),
                       frame.bottom - frame.top - Scaled(kContentHeightLess, s), TRUE);
}

bool CTooltipDlg::DrawPicture(LayeredPicture& picture, UINT imageId)
{
    PngImagePtr image;
    if (!LoadPngResource(&image, imageId)) {
        return false;
    }
    const BubbleParts parts = PlaceBubbleParts(picture.Width(), picture.Height(), GetScale());
    for (const PicturePart& part : {parts.bodyLeft, parts.bodyMiddle, parts.bodyRight, parts.tail}) {
        picture.DrawPart(*image, part.dest, part.source);
    }
    return true;
}

void CTooltipDlg::ShowContent(int show)
{
    CSkinContentDlg* content = GetContent();
    if (content && ::IsWindow(content->m_hWnd)) {
        content->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

// The dialog manager would end a modeless dialog by hiding the one window that got the key,
// leaving half a bubble on the screen.
void CTooltipDlg::OnOK()
{
    ShowWindow(SW_HIDE);
    ShowContent(kHidden);
}

void CTooltipDlg::OnCancel()
{
    ShowWindow(SW_HIDE);
    ShowContent(kHidden);
}
