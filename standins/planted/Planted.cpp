// A library planted beside the tool under the names of system libraries (gdiplus.dll,
// riched20.dll, ...), as a download folder may hold them. It has none of their entry points;
// the loader's trace shows whether it was ever taken.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
