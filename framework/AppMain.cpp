#include "framework/CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app) {
        return 1;
    }
    app->m_hInstance = instance;
    app->InitInstance();
    return app->ExitInstance();
}
