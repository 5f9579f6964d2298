// The plainest one-dialog Win32 program, built like the tool (same compiler, static run
// time): the baseline the tool's start-up, idle cost and memory are compared against.
#include <windows.h>

#include "bench/BareDialogIds.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return static_cast<int>(::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_BARE), nullptr, BareDialogProc, 0));
}
