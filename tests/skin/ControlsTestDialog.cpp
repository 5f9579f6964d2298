#include "tests/skin/ControlsTestDialog.h"

BEGIN_MESSAGE_MAP(ControlsTestDialog, CDialog)
    ON_BN_CLICKED(IDC_TEST_PNG, OnPngClicked)
    ON_BN_CLICKED(IDC_TEST_FEATURE, OnFeatureClicked)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

bool ControlsTestDialog::Open()
{
    if (!Create(IDD_SKIN_CONTROLS)) {
        return false;
    }
    ::SetWindowPos(m_hWnd, HWND_TOP, 100, 100, 420, 320, SWP_SHOWWINDOW);
    return true;
}

void ControlsTestDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TEST_PNG, png);
    DDX_Control(pDX, IDC_TEST_FEATURE, feature);
    DDX_Control(pDX, IDC_TEST_CHECK, check);
    DDX_Control(pDX, IDC_TEST_TEXT, text);
    DDX_Control(pDX, IDC_TEST_STATE, state);
}

// A plain grey ground, so that whatever a control leaves unpainted stands out.
BOOL ControlsTestDialog::OnEraseBkgnd(HDC dc)
{
    RECT client;
    GetClientRect(&client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    return TRUE;
}
