#pragma once
// Helpers for tests that work on real files: a private temporary folder, whole-file reads
// and writes, and the shape of a log record.
#include <windows.h>

#include <string>
#include <vector>

// The program's narrow texts, as code page 936 bytes written out by hand, so that a wrong
// conversion cannot agree with itself.
// 执行修复removeproductsstatus命令失败
constexpr char kGbkRemoveFailed[] = "\xd6\xb4\xd0\xd0\xd0\xde\xb8\xb4" "removeproductsstatus" "\xc3\xfc\xc1\xee\xca\xa7\xb0\xdc";
// 执行修复submitproductsstatus命令失败
constexpr char kGbkSubmitFailed[] = "\xd6\xb4\xd0\xd0\xd0\xde\xb8\xb4" "submitproductsstatus" "\xc3\xfc\xc1\xee\xca\xa7\xb0\xdc";
// 创建修复Quenmar软件名称显示乱码线程失败
constexpr char kGbkThreadFailed[] = "\xb4\xb4\xbd\xa8\xd0\xde\xb8\xb4" "Quenmar"
                                    "\xc8\xed\xbc\xfe\xc3\xfb\xb3\xc6\xcf\xd4\xca\xbe\xc2\xd2\xc2\xeb\xcf\xdf\xb3\xcc\xca\xa7\xb0\xdc";
// Quenmar软件名称显示乱码修复工具.txt
constexpr char kGbkRepairLogName[] = "Quenmar" "\xc8\xed\xbc\xfe\xc3\xfb\xb3\xc6\xcf\xd4\xca\xbe\xc2\xd2\xc2\xeb\xd0\xde\xb8\xb4\xb9\xa4\xbe\xdf" ".txt";
const wchar_t kWideRepairLogName[] = L"Quenmar软件名称显示乱码修复工具.txt";

// Length of "[yyyy-mm-dd hh:mm:ss mmmms]   ".
constexpr size_t kStampLength = 30;

// A folder of its own under the temporary folder, removed with its content at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Full path with a trailing backslash.
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

void RemoveTree(const std::wstring& path);
bool PathExists(const std::wstring& path);
bool IsFolder(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
uint64_t FileSize(const std::wstring& path);

// "[yyyy-mm-dd hh:mm:ss mmmms]   " with digits where digits belong.
bool IsStamp(const std::string& text);
// The time stamp text of a moment, without the three blanks: for ordering checks.
std::string StampOf(const SYSTEMTIME& time);
// The records of a log file: each must end in CR LF; returns them without it.
std::vector<std::string> SplitRecords(const std::string& bytes);
