#pragma once
// Folders as the system names them, never as the environment or the current folder says.
#include <windows.h>
#include <shlobj.h>

#include <string>

// The system folder (System32) without a trailing backslash; empty when it cannot be read.
std::wstring SystemFolder();

// A known folder's path (SHGetKnownFolderPath) without a trailing backslash; empty when the
// system has none.
std::wstring KnownFolder(REFKNOWNFOLDERID id);
