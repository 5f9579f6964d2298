#pragma once
// The agreement bubble: a white callout with its tail pointing down at the panel's agreement
// link, showing the user agreement in a read-only rich edit with a skinned scroll bar. It is
// modeless and owned by the main panel, which creates it once, places it, shows and hides it
// and deletes it:
//
//   auto* bubble = new CTooltipDlg;
//   bubble->SetScale(scale);
//   bubble->Create(IDD_TOOLTIP, panel);         // hidden; the content is made and filled
//   bubble->MoveWindow(rect);                   // any size: the picture is composed for it
//   bubble->ShowWindow(SW_SHOW); bubble->ShowContent(CTooltipDlg::kShown);
//   bubble->ShowWindow(SW_HIDE); bubble->ShowContent(CTooltipDlg::kHidden);
//   delete bubble;                              // destroys both windows
#include "dialogs/CSkinContentDlg.h"
#include "dialogs/CSkinFrameDlg.h"
#include "framework/CRichEditCtrl.h"
#include "framework/Handles.h"

#include <string>

// One piece of the bubble's image (image pixels) and where it goes (picture pixels).
struct PicturePart {
    RECT dest;
    RECT source;
};

// The bubble's picture for a frame of any size: the outlined white rectangle over all but
// the bottom rows, in three columns (left of the tail, above it, right of it), and the tail
// below it.
struct BubbleParts {
    PicturePart bodyLeft;
    PicturePart bodyMiddle;
    PicturePart bodyRight;
    PicturePart tail;
};
BubbleParts PlaceBubbleParts(int width, int height, float scale);

// The agreement as the bubble shows it: each line's indentation of four spaces becomes two
// ideographic spaces, the same width in the dialog's font; nothing else changes.
std::wstring AgreementForDisplay(const std::wstring& text);

class CTooltipChildDlg : public CSkinContentDlg {
public:
    CTooltipChildDlg();

    void InitContent() override;
    void ReleaseContent() override;
    // The rich edit itself (inside its scroll frame once the content is laid out).
    CRichEditCtrl& RichEdit() { return m_richEdit; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSize(UINT type, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    void PlaceRichEdit();

    CRichEditCtrl m_richEdit;
    BitmapHolder m_scrollSkin;  // BITMAP 178, borrowed by the scroll frame while it exists
    bool m_laidOut = false;
};

class CTooltipDlg : public CSkinFrameDlg {
public:
    explicit CTooltipDlg(CWnd* parent = nullptr);

    // Shows (kShown) or hides (kHidden) the content, when there is one.
    static constexpr int kHidden = 0;
    static constexpr int kShown = 1;
    void ShowContent(int show);
    CTooltipChildDlg* GetTooltipContent() const { return static_cast<CTooltipChildDlg*>(GetContent()); }

protected:
    std::unique_ptr<CSkinContentDlg> MakeContent() override;
    void OnContentPlaced(CSkinContentDlg& content) override;
    bool DrawPicture(LayeredPicture& picture, UINT imageId) override;
    // Enter and Escape in the bubble put the whole bubble away, frame and content.
    void OnOK() override;
    void OnCancel() override;
};
