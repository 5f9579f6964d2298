#pragma once
// The tool's log as bytes: its narrow texts in code page 936, and its records, each a time
// stamp, the text and CR LF.
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The narrow texts the tool writes, as code page 936 bytes written out by hand, so that a
// wrong conversion cannot agree with itself.
// 执行修复removeproductsstatus命令失败
constexpr char kGbkRemoveFailed[] =
    "\xd6\xb4\xd0\xd0\xd0\xde\xb8\xb4"
    "removeproductsstatus"
    "\xc3\xfc\xc1\xee\xca\xa7\xb0\xdc";
// 执行修复submitproductsstatus命令失败
constexpr char kGbkSubmitFailed[] =
    "\xd6\xb4\xd0\xd0\xd0\xde\xb8\xb4"
    "submitproductsstatus"
    "\xc3\xfc\xc1\xee\xca\xa7\xb0\xdc";
// 创建修复Quenmar软件名称显示乱码线程失败
constexpr char kGbkThreadFailed[] =
    "\xb4\xb4\xbd\xa8\xd0\xde\xb8\xb4"
    "Quenmar"
    "\xc8\xed\xbc\xfe\xc3\xfb\xb3\xc6\xcf\xd4\xca\xbe\xc2\xd2\xc2\xeb\xcf\xdf\xb3\xcc\xca\xa7\xb0\xdc";
// Quenmar软件名称显示乱码修复工具.txt
constexpr char kGbkRepairLogName[] =
    "Quenmar"
    "\xc8\xed\xbc\xfe\xc3\xfb\xb3\xc6\xcf\xd4\xca\xbe\xc2\xd2\xc2\xeb\xd0\xde\xb8\xb4\xb9\xa4\xbe\xdf"
    ".txt";

// The length of "[yyyy-mm-dd hh:mm:ss mmmms]   ", which starts every record.
constexpr size_t kStampLength = 30;
// Whether a text starts with such a stamp, digits where digits belong.
bool HasStamp(const std::string& text);
// The stamp of a moment, without the three blanks: for ordering checks.
std::string StampOf(const SYSTEMTIME& time);
// The records (without CR LF) in `log` from byte `from` on. A tail without CR LF is a record
// too, marked "<no line end>", so that a torn record shows.
std::vector<std::string> RecordsFrom(const std::string& log, size_t from = 0);

// The repair log's path: ToolLog in the machine-wide application-data folder.
std::wstring RepairLogPath();

}  // namespace testsupport
