// Stand-in for Windows' timeout.exe, which Wine's command interpreter lacks:
// "timeout /t N [/nobreak]" waits N seconds (keys are not read, as with /nobreak).
#include <windows.h>

#include <cwchar>
#include <cwctype>

int wmain(int argc, wchar_t** argv)
{
    long seconds = -1;
    for (int i = 1; i < argc; ++i) {
        if ((_wcsicmp(argv[i], L"/t") == 0 || _wcsicmp(argv[i], L"-t") == 0) && i + 1 < argc) {
            seconds = std::wcstol(argv[++i], nullptr, 10);
        } else if (std::iswdigit(argv[i][0])) {
            seconds = std::wcstol(argv[i], nullptr, 10);
        }
    }
    if (seconds < 0) {
        std::fwprintf(stderr, L"ERROR: Invalid syntax. Usage: timeout /t seconds [/nobreak]\n");
        return 1;
    }
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    return 0;
}
