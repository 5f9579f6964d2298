#include "app/CVeskarApp.h"

#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>

#include "app/CVeskarDlg.h"

CVeskarApp theApp;

namespace {
// GDI+ as the program uses it: version 1, no debug callback, its own background thread.
const Gdiplus::GdiplusStartupInput kGdiplusInput;
}  // namespace

BOOL CVeskarApp::InitInstance()
{
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &kGdiplusInput, nullptr);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    {
        CVeskarDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }

    Gdiplus::GdiplusShutdown(gdiplusToken);
    return FALSE;
}
