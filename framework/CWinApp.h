#pragma once
// CWinApp: the one application object of a program. The program's entry point (AppMain.cpp)
// calls its InitInstance; a dialog-based program runs its main window modally there and
// returns FALSE, which ends the program without a message loop of the framework's own.
#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    // The framework stores nothing under the key; it is kept for the caller's information.
    void SetRegistryKey(LPCWSTR key) { m_registryKey = key ? key : L""; }
    const std::wstring& RegistryKey() const { return m_registryKey; }

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    std::wstring m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();
