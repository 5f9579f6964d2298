#include "framework/CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    // First of all: from here on, a library named without a path is looked for in the system
    // folder only, never beside the program or in the current folder.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    CWinApp* app = AfxGetApp();
    if (!app) {
        return 1;
    }
    app->m_hInstance = instance;
    app->InitInstance();
    return app->ExitInstance();
}
