#pragma once
// What both log writers share: the record's bytes, the code page 936 conversions, the hex
// text, and the file steps of one record (open for appending, append, size check, backup).
#include <windows.h>

#include <cstdint>
#include <string>

// Every log file and every narrow text of the program is code page 936 (GBK), whatever the
// system's ANSI code page is.
constexpr UINT kLogCodePage = 936;

// A file longer than this after a record is moved to its backup name.
constexpr uint64_t kLogSizeLimit = 6020000;

std::wstring Cp936ToWide(const std::string& text);
std::string WideToCp936(const std::wstring& text);

// "[yyyy-mm-dd hh:mm:ss mmmms]   " + content + CR LF, in code page 936.
std::string FormatLogRecord(const SYSTEMTIME& time, const std::string& content);

// Each byte as "%02X ", all on one line, a blank after the last one too.
std::string HexText(const unsigned char* bytes, int count);

// The single backup of a log file: "bak" appended to the full name, without a dot.
std::wstring BackupPathOf(const std::wstring& path);

// Opens (creating when missing, keeping the content) for reading, writing and renaming,
// shared with every other reader and writer. A link of any kind is refused, and so is a
// file with more than one name: the record would land in some other file. Returns
// INVALID_HANDLE_VALUE then, as on any failure.
HANDLE OpenLogFile(const std::wstring& path);

// Appends the record at the end of the file in one write. Returns the file's length
// afterwards, or 0 when the length cannot be read.
uint64_t AppendToLogFile(HANDLE file, const std::string& record);

// Moves a full log file, open as OpenLogFile opened it, to its backup name, replacing the
// older backup. Renamed through the handle, so that it is the file that was checked and
// written; a failed move is left for the next record to retry.
void MoveToBackup(HANDLE file, const std::wstring& path);
