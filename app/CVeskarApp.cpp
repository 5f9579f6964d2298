#include "app/CVeskarApp.h"

#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>

#include "app/CVeskarDlg.h"
#include "app/QuietRepair.h"
#include "app/RunningCopy.h"
#include "app/ToolTexts.h"
#include "framework/SystemLibrary.h"

CVeskarApp theApp;

namespace {

// GDI+ as the program uses it: version 1, no debug callback, its own background thread.
const Gdiplus::GdiplusStartupInput kGdiplusInput;

// Without its pictures the tool has no window of its own to say so in.
void SayStartFailed()
{
    ::MessageBoxW(nullptr, kTextInitFailed, kToolTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

BOOL CVeskarApp::InitInstance()
{
    const RunningCopyLock runningCopy;
    switch (ParseStartMode(CommandLineArguments())) {
    case StartMode::Quiet:
        m_exitCode = RunQuietRepair(runningCopy);
        return FALSE;
    case StartMode::Usage:
        ShowUsage();
        return FALSE;
    case StartMode::Unknown:
        m_exitCode = kQuietBadStart;
        return FALSE;
    case StartMode::Interactive:
        break;
    }
    // A second start only shows the running tool: nothing is loaded, started or removed.
    if (!runningCopy.IsFirst()) {
        BringRunningCopyToFront();
        return FALSE;
    }
    RunInteractive();
    return FALSE;
}

void CVeskarApp::RunInteractive()
{
    ULONG_PTR gdiplusToken = 0;
    if (!LoadGdiplus() || Gdiplus::GdiplusStartup(&gdiplusToken, &kGdiplusInput, nullptr) != Gdiplus::Ok) {
        SayStartFailed();
        return;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    {
        CVeskarDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        if (!dialog.Showed()) {
            SayStartFailed();
        }
    }

    Gdiplus::GdiplusShutdown(gdiplusToken);
}
