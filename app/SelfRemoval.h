#pragma once
// When the tool has closed, its own files and then its folder (only if nothing else is left in
// it) are removed by a hidden command interpreter that waits three seconds first, so that the
// tool has ended and released its files. Nothing is ever removed recursively: the tool may have
// been started from the Desktop, the Downloads folder or a drive's root.
#include <string>
#include <vector>

// The interpreter's parameters for removing `files` (names) from `folder` (no trailing
// backslash) and then the folder if it is empty; empty when a path holds a character the
// interpreter would expand (%) or a quotation mark, in which case nothing may be removed.
std::wstring BuildSelfRemovalParameters(const std::wstring& folder, const std::vector<std::wstring>& files);

// Starts the removal for the running program: its executable and the feedback library
// beside it. Reports nothing.
void StartSelfRemoval();
