// The log front end: the log folder, the logCfg.ini switch, force, and the code page of
// names and records whatever the system's ANSI code page is.
#include <gtest/gtest.h>

#include <cstdlib>

#include "log/CLogSave.h"
#include "log/CLogSaveOpenFile.h"
#include "tests/log/UnixLink.h"
#include "tests/support/Files.h"
#include "tests/support/LogRecords.h"
#include "tests/support/Tool.h"

using namespace testsupport;

namespace {

class LogSave : public ::testing::Test {
protected:
    std::wstring ConfigPath() const { return temp.Path() + L"logCfg.ini"; }
    std::wstring LogPath(const wchar_t* name) const { return temp.Path() + L"ToolLog\\" + name; }
    void WriteConfig(const std::string& text) { WriteBytes(ConfigPath(), text); }
    // Writes one unforced and one forced record; returns how many reached the file.
    size_t RecordsWritten(CLogSave& log)
    {
        log.WriteLog("optional", "s.txt", false);
        log.WriteLog("forced", "s.txt", true);
        return RecordsFrom(ReadBytes(LogPath(L"s.txt"))).size();
    }
    TempFolder temp;
};

TEST_F(LogSave, PrintSwitchIsOnExactlyWhenTheValueReadsAsOne)
{
    const char* const on[] = {"1", " 1", "1 ", "\t1\t", "01", "1x", "+1"};
    for (const char* value : on) {
        WriteConfig(std::string("[Log]\r\nprint=") + value + "\r\n");
        CLogSave log(temp.Path());
        EXPECT_TRUE(log.IsPrintOn()) << '"' << value << '"';
    }
    const char* const off[] = {"0", "2", "-1", "10", "yes", "", "x1", "11"};
    for (const char* value : off) {
        WriteConfig(std::string("[Log]\r\nprint=") + value + "\r\n");
        CLogSave log(temp.Path());
        EXPECT_FALSE(log.IsPrintOn()) << '"' << value << '"';
    }
}

TEST_F(LogSave, OptionalRecordsNeedTheSwitchForcedOnesDoNot)
{
    {
        CLogSave log(temp.Path());  // no configuration file at all
        EXPECT_EQ(RecordsWritten(log), 1u);
    }
    WriteConfig("[Other]\r\nprint=1\r\n");  // wrong section
    {
        CLogSave log(temp.Path());
        EXPECT_EQ(RecordsWritten(log), 2u);
    }
    WriteConfig("[Log]\r\nverbose=1\r\n");  // no key
    {
        CLogSave log(temp.Path());
        EXPECT_EQ(RecordsWritten(log), 3u);
    }
    WriteConfig("[Log]\r\nprint=1\r\n");
    {
        CLogSave log(temp.Path());
        EXPECT_EQ(RecordsWritten(log), 5u);
        const std::vector<std::string> records = RecordsFrom(ReadBytes(LogPath(L"s.txt")));
        EXPECT_EQ(records[3].substr(kStampLength), "optional");
        EXPECT_EQ(records[4].substr(kStampLength), "forced");
    }
}

TEST_F(LogSave, ConfigurationIsReadOnceAndOnlyBesideTheLogFolder)
{
    ASSERT_TRUE(::CreateDirectoryW((temp.Path() + L"ToolLog").c_str(), nullptr));
    WriteBytes(LogPath(L"logCfg.ini"), "[Log]\r\nprint=1\r\n");
    CLogSave log(temp.Path());
    EXPECT_FALSE(log.IsPrintOn());
    WriteConfig("[Log]\r\nprint=1\r\n");  // too late for this front end
    EXPECT_EQ(RecordsWritten(log), 1u);
}

TEST_F(LogSave, CreatesTheLogFolderOrLeavesWhatIsThere)
{
    {
        CLogSave log(temp.Path());
        EXPECT_TRUE(FolderExists(temp.Path() + L"ToolLog"));
        EXPECT_EQ(log.GetLogFolder(), temp.Path() + L"ToolLog\\");
    }
    WriteBytes(LogPath(L"older.txt"), "kept");
    CLogSave again(temp.Path());
    EXPECT_EQ(ReadBytes(LogPath(L"older.txt")), "kept");
}

TEST_F(LogSave, APlainFileNamedToolLogLosesEveryRecord)
{
    WriteBytes(temp.Path() + L"ToolLog", "not a folder");
    CLogSave log(temp.Path());
    log.WriteLog("lost", "s.txt", true);
    EXPECT_FALSE(FolderExists(temp.Path() + L"ToolLog"));
    EXPECT_EQ(ReadBytes(temp.Path() + L"ToolLog"), "not a folder");
}

// A ToolLog that links to another folder, as an unelevated program could have left it, is
// not used: its records are lost rather than written elsewhere.
TEST_F(LogSave, AToolLogThatIsALinkToAnotherFolderIsNotUsed)
{
    ASSERT_TRUE(::CreateDirectoryW((temp.Path() + L"elsewhere").c_str(), nullptr));
    UnixLink link(temp.Path(), L"ToolLog", L"elsewhere");
    ASSERT_TRUE(link.Made());
    {
        CLogSave log(temp.Path());
        log.WriteLog("through the link", "s.txt", true);
    }
    EXPECT_FALSE(PathExists(temp.Path() + L"elsewhere\\s.txt"));
}

TEST(LogSaveInstance, LivesInTheMachineWideApplicationDataFolder)
{
    const std::wstring base = CLogSave::GetBaseFolder();
    ASSERT_FALSE(base.empty());
    EXPECT_EQ(base.back(), L'\\');
    EXPECT_TRUE(FolderExists(base));
    CLogSave& log = CLogSave::GetInstance();
    EXPECT_EQ(&log, &CLogSave::GetInstance());
    EXPECT_EQ(log.GetLogFolder(), base + L"ToolLog\\");
    EXPECT_TRUE(FolderExists(base + L"ToolLog"));
}

// Names and records are code page 936 even where the ANSI code page is another one; the
// suite runs a second time under code page 1252 (VESKAR_EXPECTED_ACP says which).
TEST(LogCodePage, NamesAndRecordsAreCodePage936WhateverTheAnsiCodePage)
{
    if (const char* expected = std::getenv("VESKAR_EXPECTED_ACP")) {
        ASSERT_EQ(::GetACP(), static_cast<UINT>(std::atoi(expected)));
    }
    TempFolder temp;
    CLogSave log(temp.Path());
    log.WriteLog(kGbkSubmitFailed, kGbkRepairLogName, true);
    const std::string front = ReadBytes(temp.Path() + L"ToolLog\\" + kRepairLogFile);
    ASSERT_TRUE(HasStamp(front));
    EXPECT_EQ(front.substr(kStampLength), std::string(kGbkSubmitFailed) + "\r\n");

    CLogSaveOpenFile writer(temp.Path());
    writer.WriteText(kGbkThreadFailed, kGbkRepairLogName);
    const std::string open = ReadBytes(temp.Path() + kRepairLogFile);
    ASSERT_TRUE(HasStamp(open));
    EXPECT_EQ(open.substr(kStampLength), std::string(kGbkThreadFailed) + "\r\n");
}

}  // namespace
