#pragma once
// Libraries of the system, loaded from the system folder only. The tool runs elevated and is
// usually started from a download folder, where anything may have been put beside it.
#include <windows.h>

// Loads a library of the system folder by its file name; null when it is not there.
inline HMODULE LoadSystemLibrary(const wchar_t* fileName)
{
    return ::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The program binds GDI+ at its first call (a delay-load import), so that no gdiplus.dll is
// looked for before the program runs. This loads it from the system folder first, once, and
// keeps it for the life of the process; nothing of GDI+ may be called when it fails.
inline bool LoadGdiplus()
{
    static const HMODULE module = LoadSystemLibrary(L"gdiplus.dll");
    return module != nullptr;
}
