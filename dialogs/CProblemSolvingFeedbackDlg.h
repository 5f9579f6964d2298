#pragma once
// The problem-solving feedback pop-up, shown when the main window closes: asks whether the
// tool solved the problem and reports the answer through the feedback library. Every way
// out ends it with IDCANCEL; "更多方案" opens the knowledge-base site and leaves it open.
#include <ctime>
#include <string>

#include "controls/CFeaturePngButton.h"
#include "controls/CPngButton.h"
#include "dialogs/CSkinContentDlg.h"
#include "dialogs/CSkinFrameDlg.h"

class CFeedbackLibrary;

// Answer codes reported to the feedback library.
enum FeedbackAnswer : int {
    kAnswerSolved = 1,
    kAnswerUnsolved = 2,
    kAnswerClosed = 3,  // the close button
};

// Where the content's buttons go, in client coordinates.
struct FeedbackButtonPlaces {
    RECT close;
    RECT solved;
    RECT unsolved;
    RECT moreSolutions;
    int hitInset;  // the large buttons count as hovered only this far inside their rectangles
};

// The buttons' places in a content whose client rectangle is `client`, at `scale`.
FeedbackButtonPlaces PlaceFeedbackButtons(const RECT& client, float scale);

// The time text of a report: the low 32 bits of `secondsSince1970` as a signed decimal.
std::wstring FeedbackTimeText(__time64_t secondsSince1970);

class CProblemSolvingFeedbackChildDlg : public CSkinContentDlg {
public:
    CProblemSolvingFeedbackChildDlg();

    // Borrowed: the main panel's binding, alive for the whole pop-up; null reports nothing.
    void SetFeedbackLibrary(CFeedbackLibrary* library) { m_feedback = library; }
    void InitContent() override;

    CPngButton& CloseButton() { return m_close; }
    CFeaturePngButton& SolvedButton() { return m_solved; }
    CFeaturePngButton& UnsolvedButton() { return m_unsolved; }
    CFeaturePngButton& MoreSolutionsButton() { return m_moreSolutions; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    RECT BackgroundRect() const override;

    void OnSolvedClicked();
    void OnUnsolvedClicked();
    void OnCloseClicked();
    void OnMoreSolutionsClicked();

    DECLARE_MESSAGE_MAP()

private:
    void Answer(int code);

    RECT m_clientRect{};  // taken at layout; the background is drawn into it
    CPngButton m_close;
    CFeaturePngButton m_solved;
    CFeaturePngButton m_unsolved;
    CFeaturePngButton m_moreSolutions;
    CFeedbackLibrary* m_feedback = nullptr;
    bool m_answered = false;
};

class CProblemSolvingFeedbackDlg : public CSkinFrameDlg {
public:
    explicit CProblemSolvingFeedbackDlg(CWnd* parent = nullptr);

    // Before DoModal; handed to the content.
    void SetFeedbackLibrary(CFeedbackLibrary* library) { m_feedback = library; }
    CProblemSolvingFeedbackChildDlg* GetFeedbackContent() const
    {
        return static_cast<CProblemSolvingFeedbackChildDlg*>(GetContent());
    }

protected:
    BOOL OnInitDialog() override;
    std::unique_ptr<CSkinContentDlg> MakeContent() override;

private:
    CFeedbackLibrary* m_feedback = nullptr;
};
