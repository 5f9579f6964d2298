#pragma once
// Files and folders as the tests use them: places beside the test program, whole-file reads
// and writes, and folders of a test's own that go with everything in them at the end.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// The running program's folder, with a trailing backslash.
std::wstring ProgramFolder();
// `relative` resolved against the running program's folder (".." allowed).
std::wstring BesideProgram(const std::wstring& relative);
// The temporary folder, with a trailing backslash.
std::wstring TempPath();
// The machine-wide application-data folder (where the tool keeps its log), without one.
std::wstring CommonAppDataFolder();

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// A file or a folder.
bool PathExists(const std::wstring& path);
uint64_t FileSize(const std::wstring& path);

// A whole file's bytes, read to its end (files that report no size, such as those of Linux's
// /proc, included); empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// The lines of a text file, without their line ends; none when it does not exist.
std::vector<std::string> ReadLines(const std::wstring& path);
// Replaces the file's content; false when it could not be written whole.
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Makes a folder and the missing folders above it (a full path).
void MakeFolders(const std::wstring& path);
// Removes a file, or a folder with everything in it (a link is removed, not followed); true
// when nothing is left at `path`.
bool RemoveTree(const std::wstring& path);
// The names of the files and folders in a folder, sorted; none when it is gone.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

// A folder made for one test and removed with everything in it at the end (unless removed
// already, which is what the tool's self-removal does). Wine may hold a program's image or
// its current folder for a moment after the process has ended: the removal is retried for a
// while.
class ScratchFolder {
public:
    // `path` is a full path; missing parent folders are made.
    explicit ScratchFolder(std::wstring path);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder without a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }
    bool CopyIn(const std::wstring& source, const std::wstring& name) const;
    bool WriteText(const std::wstring& name, const std::string& text) const;
    // The names of the files and folders in it (none when it is gone).
    std::vector<std::wstring> Entries() const { return FolderEntries(m_path); }

private:
    std::wstring m_path;
};

// The root of the scratch folders of this test program, made on first use:
// C:\VeskarScratch\<this program's process id>.
std::wstring ScratchRoot();
// A fresh, unused name under the scratch root, with `label` in it (blanks and % allowed).
std::wstring ScratchPath(const std::wstring& label);

// A scratch folder of its own under the temporary folder.
class TempFolder {
public:
    TempFolder();
    // The full path with a trailing backslash, ready for file names.
    std::wstring Path() const { return m_folder.Path() + L"\\"; }

private:
    ScratchFolder m_folder;
};

}  // namespace testsupport
