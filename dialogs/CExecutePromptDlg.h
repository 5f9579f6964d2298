#pragma once
// The progress pop-up: a small blue frame and content pair with one animated busy text,
// no buttons and no drag strip. It ends with IDOK when it receives WM_CLOSE_PROGRESS.
#include <string>

#include "controls/CDrawStateInfoStatic.h"
#include "dialogs/CSkinContentDlg.h"
#include "dialogs/CSkinFrameDlg.h"

class CExecutePromptChildDlg : public CSkinContentDlg {
public:
    CExecutePromptChildDlg();

    void SetText(const std::wstring& text) { m_text = text; }
    void InitContent() override;
    void ReleaseContent() override;

    CDrawStateInfoStatic& StateStatic() { return m_state; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CDrawStateInfoStatic m_state;
    std::wstring m_text;
};

class CExecutePromptDlg : public CSkinFrameDlg {
public:
    explicit CExecutePromptDlg(CWnd* parent = nullptr);

    void SetText(const std::wstring& text) { m_text = text; }
    CExecutePromptChildDlg* GetProgressContent() const
    {
        return static_cast<CExecutePromptChildDlg*>(GetContent());
    }

protected:
    std::unique_ptr<CSkinContentDlg> MakeContent() override;
    void OnContentPlaced(CSkinContentDlg& content) override;
    // Enter, Escape, Alt+F4 and WM_CLOSE do not end it: the repair goes on whatever the user
    // presses, and only its end (WM_CLOSE_PROGRESS) takes the notice away.
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT OnCloseProgress(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_text;
};
