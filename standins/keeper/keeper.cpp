// Keeps the Wine virtual desktop alive between test programs: the harness starts it once,
// with its standard streams on /dev/null, and kills it at the end. Its hidden window makes
// the desktop start now, inheriting those streams rather than a test's output pipe. Once the
// window exists (and with it the desktop), it creates the file named by its argument, which
// the harness waits for before the first test may make a window of its own.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR arguments, int)
{
    // The whole argument text is the file's path, quoted when it holds blanks.
    std::wstring readyFile = arguments ? arguments : L"";
    if (readyFile.size() >= 2 && readyFile.front() == L'"' && readyFile.back() == L'"') {
        readyFile = readyFile.substr(1, readyFile.size() - 2);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"VeskarDesktopKeeper";
    ::RegisterClassW(&wc);
    ::CreateWindowExW(0, wc.lpszClassName, L"keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (!readyFile.empty()) {
        const HANDLE ready = ::CreateFileW(readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) {
            ::CloseHandle(ready);
        }
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&msg);
    }
    return 0;
}
