#pragma once
// The prompt: the tool's message box. A frame and content pair with a message text and one
// or two answer buttons; DoModal returns IDOK for the first answer and IDCANCEL for the
// second answer or the close button.
#include <string>

#include "controls/CDrawTextStatic.h"
#include "controls/CPngButton.h"
#include "dialogs/CSkinContentDlg.h"
#include "dialogs/CSkinFrameDlg.h"

// Prompt types: the button labels and whether the second answer is shown.
enum PromptType : int {
    kPromptYes = 1,           // "是", centred
    kPromptYesNo = 2,         // "是" and "否"
    kPromptConfirm = 3,       // "确认", centred
    kPromptConfirmCancel = 4, // "确认" and "取消"
};

// Content to its frame: the user's answer. wParam kPromptOk or kPromptCancel, lParam 0.
constexpr UINT WM_PROMPT_RESULT = 0x615;
constexpr WPARAM kPromptOk = 1;
constexpr WPARAM kPromptCancel = 2;

class CPromptChildDlg : public CSkinContentDlg {
public:
    CPromptChildDlg();

    void SetText(const std::wstring& text) { m_text = text; }
    void SetType(int type) { m_type = type; }
    void InitContent() override;

    // The controls, for those who check the layout.
    CPngButton& CloseButton() { return m_close; }
    CPngButton& OkButton() { return m_ok; }
    CPngButton& CancelButton() { return m_cancel; }
    CDrawTextStatic& TextStatic() { return m_textStatic; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOkClicked();
    void OnCancelClicked();
    void OnCloseClicked();

    DECLARE_MESSAGE_MAP()

private:
    void TellFrame(UINT message, WPARAM wParam = 0);

    CPngButton m_close;
    CPngButton m_ok;
    CPngButton m_cancel;
    CDrawTextStatic m_textStatic;
    std::wstring m_text;
    int m_type = kPromptYes;
};

class CPromptDlg : public CSkinFrameDlg {
public:
    explicit CPromptDlg(CWnd* parent = nullptr);
    // How the prompt's frame is laid out, also for frames built on the prompt's templates.
    static const SkinFrameLayout& FrameLayout();

    void SetText(const std::wstring& text) { m_text = text; }
    void SetType(int type) { m_type = type; }
    CPromptChildDlg* GetPromptContent() const { return static_cast<CPromptChildDlg*>(GetContent()); }

protected:
    std::unique_ptr<CSkinContentDlg> MakeContent() override;
    LRESULT OnPromptResult(WPARAM answer, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_text;
    int m_type = kPromptYes;
};
