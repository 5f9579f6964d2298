#include "app/CVeskarApp.h"

#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>

#include "app/CAboutDlg.h"
#include "framework/CRichEditCtrl.h"

CVeskarApp theApp;

BOOL CVeskarApp::InitInstance()
{
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    SetRegistryKey(L"应用程序向导生成的本地应用程序");
    AfxInitRichEdit();

    CAboutDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;

    Gdiplus::GdiplusShutdown(gdiplusToken);
    return FALSE;
}
