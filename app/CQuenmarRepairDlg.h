#pragma once
// The main panel: the opaque content of the main window. It runs the start-up checks while it
// is being created, lays out its skinned controls, starts the repair with the busy pop-up and
// shows its result, keeps the repair button's state in line with the agreement check box and
// opens the maker's pages through the feedback library.
#include <memory>
#include <vector>

#include "controls/CCheckBoxBtn.h"
#include "controls/CDrawTextStatic.h"
#include "controls/CFeaturePngButton.h"
#include "controls/CPngButton.h"
#include "dialogs/CExecutePromptDlg.h"
#include "dialogs/CSkinContentDlg.h"
#include "dialogs/CTooltipDlg.h"
#include "repair/CFeedbackLibrary.h"
#include "repair/CMouseHook.h"
#include "repair/CRepairTask.h"

class CQuenmarRepairDlg : public CSkinContentDlg {
public:
    CQuenmarRepairDlg();

    void InitContent() override;
    void ReleaseContent() override;

    // Gives the repair task and the mouse hook the panel's window, refuses every system but
    // Windows 10.0 and binds the feedback library. On a failure it shows a prompt and ends the
    // process (exit code 0); it returns only when every step succeeded.
    void RunStartupChecks();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, POINT point);
    LRESULT OnHookLButtonDown(WPARAM, LPARAM);
    LRESULT OnRepairResult(WPARAM result, LPARAM);
    LRESULT OnCloseProgress(WPARAM, LPARAM);
    LRESULT OnAgreeStateRead(WPARAM click, LPARAM checked);
    void OnAgreeClicked();
    void OnCloseClicked();
    void OnMinimizeClicked();
    void OnRepairClicked();
    void OnMoreToolsClicked();

    DECLARE_MESSAGE_MAP()

private:
    // Shows the prompt of type 3 ("确认") with `text`, modally, owned by `owner`.
    void ShowPrompt(const wchar_t* text, CWnd* owner);
    [[noreturn]] void FailStartup(const wchar_t* text);
    void CheckForNewVersion();
    // The links' actions, taken on a click (OnLButtonDown) and on Space on the focused link:
    // the agreement bubble (made at its first use) shown over the panel or hidden, and the
    // maker's question page opened through the feedback library.
    void ToggleAgreement();
    void AskFeedbackQuestion();
    void HideAgreement();
    static DWORD WINAPI AgreeCheckThreadProc(LPVOID param);
    void ForgetEndedAgreeWorkers();

    CDrawTextStatic m_version;
    CPngButton m_close;
    CPngButton m_minimize;
    CFeaturePngButton m_repair;
    CFeaturePngButton m_moreTools;
    CRepairTask m_repairTask;
    // The busy pop-up of the latest repair; replaced by the next repair, deleted with the panel.
    std::unique_ptr<CExecutePromptDlg> m_progress;
    // The agreement bubble, made on the first click on its link, deleted with the panel.
    std::unique_ptr<CTooltipDlg> m_agreement;
    CCheckBoxBtn m_agree;
    CDrawTextStatic m_agreementLink;
    CDrawTextStatic m_feedbackLink;
    CFeedbackLibrary m_feedback;
    CMouseHook m_hook;
    // The check box's workers that may still run; joined when the panel goes.
    std::vector<UniqueHandle> m_agreeWorkers;
    // Clicks on the check box so far: only the newest click's reading is applied.
    WPARAM m_agreeClicks = 0;
    // Set when the window starts going: what a worker still sends then changes nothing.
    bool m_closing = false;
};
