#include "tests/support/LogRecords.h"

#include <cstdio>

#include "tests/support/Files.h"
#include "tests/support/Tool.h"

namespace testsupport {

bool HasStamp(const std::string& text)
{
    static const char kPattern[] = "[dddd-dd-dd dd:dd:dd dddms]   ";
    if (text.size() < kStampLength) {
        return false;
    }
    for (size_t i = 0; i < kStampLength; ++i) {
        const char expected = kPattern[i];
        const char actual = text[i];
        if (expected == 'd' ? (actual < '0' || actual > '9') : actual != expected) {
            return false;
        }
    }
    return true;
}

std::string StampOf(const SYSTEMTIME& time)
{
    char text[64];
    std::snprintf(text, sizeof(text), "[%04d-%02d-%02d %02d:%02d:%02d %03dms]", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

std::vector<std::string> RecordsFrom(const std::string& log, size_t from)
{
    std::vector<std::string> records;
    size_t start = from;
    while (start < log.size()) {
        const size_t end = log.find("\r\n", start);
        if (end == std::string::npos) {
            records.push_back(log.substr(start) + "<no line end>");
            break;
        }
        records.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    return records;
}

std::wstring RepairLogPath()
{
    return CommonAppDataFolder() + L"\\ToolLog\\" + kRepairLogFile;
}

}  // namespace testsupport
