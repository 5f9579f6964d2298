#pragma once
// When the tool has closed, its own files and then its folder (only if nothing else is left in
// it) are removed by a hidden command interpreter. It tries to delete the executable once a
// second, a few times at most, until the tool has ended and released it; the library and the
// folder go only once the executable is gone. Nothing is ever removed recursively, and a
// drive's or a share's root or one of the user's known folders is never removed, even empty:
// the tool may have been started from the Desktop, the Downloads folder or a drive's root.
#include <string>
#include <vector>

// Whether `folder` may go once it is empty: false for a drive or share root and for the
// profile, Desktop, Downloads and Documents folders and their public counterparts, compared
// without regard to case, trailing backslashes, "." and ".." or short names.
bool MayRemoveFolder(const std::wstring& folder);

// The interpreter's parameters for removing `program` (a name) from `folder` (no trailing
// backslash), then, once it is gone, the `companions` and the folder itself if it is empty
// and MayRemoveFolder allows. `systemFolder` holds timeout.exe. Empty when a path holds a
// character the interpreter would expand or that would end a quotation (% ! " or a control
// character), in which case nothing may be removed.
std::wstring BuildSelfRemovalParameters(const std::wstring& folder, const std::wstring& program,
                                        const std::vector<std::wstring>& companions, const std::wstring& systemFolder);

// Starts the removal for the running program: its executable and the feedback library
// beside it. Reports nothing.
void StartSelfRemoval();
