// Keeps the Wine virtual desktop alive between test programs: the harness starts it once,
// with its standard streams on /dev/null, and kills it at the end. Its hidden window makes
// the desktop start now, inheriting those streams rather than a test's output pipe.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"VeskarDesktopKeeper";
    ::RegisterClassW(&wc);
    ::CreateWindowExW(0, wc.lpszClassName, L"keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&msg);
    }
    return 0;
}
