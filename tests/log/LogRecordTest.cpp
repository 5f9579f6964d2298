// The bytes of one record, the hex text, the backup name and the code page 936 texts.
#include <gtest/gtest.h>

#include "log/LogRecord.h"
#include "tests/support/LogRecords.h"
#include "tests/support/Tool.h"

using namespace testsupport;

namespace {

SYSTEMTIME Moment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = ms;
    return time;
}

TEST(LogRecord, TimeStampPadsEveryFieldAndEndsInThreeBlanks)
{
    EXPECT_EQ(FormatLogRecord(Moment(2027, 2, 1, 8, 3, 9, 5), "abc"), "[2027-02-01 08:03:09 005ms]   abc\r\n");
    EXPECT_EQ(FormatLogRecord(Moment(2026, 12, 6, 9, 5, 7, 42), "x"), "[2026-12-06 09:05:07 042ms]   x\r\n");
    EXPECT_EQ(FormatLogRecord(Moment(2030, 11, 30, 23, 59, 58, 999), ""), "[2030-11-30 23:59:58 999ms]   \r\n");
}

TEST(LogRecord, ChineseContentKeepsItsCodePage936Bytes)
{
    const std::string record = FormatLogRecord(Moment(2027, 2, 1, 8, 3, 9, 5), kGbkRemoveFailed);
    EXPECT_EQ(record, std::string("[2027-02-01 08:03:09 005ms]   ") + kGbkRemoveFailed + "\r\n");
}

TEST(LogRecord, ProgramTextsConvertToTheirCodePage936Bytes)
{
    EXPECT_EQ(WideToCp936(L"执行修复removeproductsstatus命令失败"), kGbkRemoveFailed);
    EXPECT_EQ(WideToCp936(L"执行修复submitproductsstatus命令失败"), kGbkSubmitFailed);
    EXPECT_EQ(WideToCp936(L"创建修复Quenmar软件名称显示乱码线程失败"), kGbkThreadFailed);
    EXPECT_EQ(Cp936ToWide(kGbkRepairLogName), kRepairLogFile);
    EXPECT_EQ(Cp936ToWide(""), L"");
}

TEST(LogRecord, HexTextIsUpperCaseWithABlankAfterEveryByte)
{
    const unsigned char three[] = {0x0A, 0x1B, 0xFF};
    EXPECT_EQ(HexText(three, 3), "0A 1B FF ");
    const unsigned char two[] = {0x00, 0xAB};
    EXPECT_EQ(HexText(two, 2), "00 AB ");
    EXPECT_EQ(HexText(three, 0), "");
    EXPECT_EQ(HexText(three, -4), "");
    std::string many(1000, '\x5a');
    EXPECT_EQ(HexText(reinterpret_cast<const unsigned char*>(many.data()), 1000).size(), 3000u);
}

TEST(LogRecord, BackupNameAppendsBakWithoutADot)
{
    EXPECT_EQ(BackupPathOf(L"C:\\ProgramData\\ToolLog\\a.txt"), L"C:\\ProgramData\\ToolLog\\a.txtbak");
}

}  // namespace
