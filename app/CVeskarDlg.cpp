#include "app/CVeskarDlg.h"

#include "app/CAboutDlg.h"
#include "app/CQuenmarRepairDlg.h"
#include "app/SelfRemoval.h"
#include "app/ToolTexts.h"
#include "framework/CWinApp.h"
#include "framework/Handles.h"
#include "res/resource.h"

namespace {

const SkinFrameLayout kFrameLayout = {
    IDD_VESKAR_DIALOG, IDD_QUENMAR_REPAIR,
    138,                       // the panel's picture inside a soft grey shadow
    410, 611,
    {5, 4, 5, 7}, {5, 4, 5, 7},
    true,                      // centred on the screen ...
    true,                      // ... at the scale of the screen's pixel density
    true,                      // the panel is placed in the centred rectangle
    0,                         // the panel leads from the start; the frame follows it
    true,                      // Enter and Escape do nothing
    true,                      // without its picture the window could not be closed: it ends
};

}  // namespace

BEGIN_MESSAGE_MAP(CVeskarDlg, CSkinFrameDlg)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CVeskarDlg::CVeskarDlg()
    : CSkinFrameDlg(kFrameLayout, nullptr),
      m_icon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

std::unique_ptr<CSkinContentDlg> CVeskarDlg::MakeContent()
{
    return std::make_unique<CQuenmarRepairDlg>();
}

BOOL CVeskarDlg::OnInitDialog()
{
    AddAboutMenuEntry();
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);
    SetWindowText(kToolTitle);
    return CSkinFrameDlg::OnInitDialog();
}

void CVeskarDlg::AddAboutMenuEntry()
{
    HMENU menu = GetSystemMenu(FALSE);
    wchar_t text[128] = {};
    if (!menu || ::LoadStringW(AfxGetResourceHandle(), IDS_ABOUTBOX, text, 128) <= 0) {
        return;
    }
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, text);
}

void CVeskarDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CVeskarDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    PaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()));
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.Get(), x, y, m_icon);
}

// The panel's window is gone already (owned windows go before their owner); the base deletes
// the panel object, and then the tool's files may go. A window that never showed removes
// nothing: the user is told the tool could not start and keeps it to try again.
void CVeskarDlg::OnDestroy()
{
    m_showed = HasPicture() && GetContent() != nullptr;
    CSkinFrameDlg::OnDestroy();
    if (m_showed) {
        StartSelfRemoval();
    }
}
