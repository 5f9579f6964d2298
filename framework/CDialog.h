#pragma once
// CDialog: a dialog made from a template in the program's resources, modal (with a modal
// loop of our own that gives PreTranslateMessage its turn) or modeless.
#include "framework/CWnd.h"

class CDialog;

// Dialog data exchange: binds template controls to member objects by id.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate)
    {
    }
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Attaches `control` to the template control `id` the first time data is exchanged; the
// control keeps its platform behaviour and the object's message map sees its messages first.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_templateId(templateId), m_pParentWnd(parent) {}
    ~CDialog() override;

    // Runs the dialog modally; returns the EndDialog result, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless, owned by `parent`.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);

    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    BOOL IsModal() const { return m_modalRunning; }

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}

    // The UI state (WM_QUERYUISTATE) is kept by the dialog for itself and its controls, as the
    // platform's rule has it: focus and accelerator cues stay hidden until the keyboard is used
    // in the dialog. Wine's default window procedure keeps no such state.
    LRESULT OnChangeUiState(WPARAM request, LPARAM);
    LRESULT OnUpdateUiState(WPARAM request, LPARAM);
    LRESULT OnQueryUiState(WPARAM, LPARAM) { return m_uiState; }

    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    HWND CreateFromTemplate(HWND owner);
    HWND OwnerForModal() const;
    void RunModalLoop();
    bool PumpMessage();
    bool WalkPreTranslateTree(MSG* msg);
    void CenterAfterInitIfDue(const RECT& rectBefore, bool visibleBefore);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WORD m_uiState = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    bool m_modalRunning = false;
    bool m_continueModal = false;
    INT_PTR m_modalResult = -1;
};
