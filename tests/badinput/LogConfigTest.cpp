// logCfg.ini with hostile content: very long lines, binary bytes, no sections, numbers too
// large for an int, a folder in its place, random mixtures. The front end must read it
// without harm, switch optional records on only for the value 1, and write every forced
// record whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "log/CLogSave.h"
#include "tests/support/Files.h"
#include "tests/support/LogRecords.h"

using namespace testsupport;

namespace {

enum class Print { Off, On, Either };

struct HostileConfig {
    const char* name;
    std::string bytes;
    Print expected;
};

std::string Repeat(const std::string& text, size_t times)
{
    std::string result;
    result.reserve(text.size() * times);
    for (size_t i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

std::string Utf16(const std::wstring& text)
{
    std::string bytes("\xFF\xFE");
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

// The same bytes on every run.
class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed) {}
    uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    std::string Bytes(size_t count)
    {
        std::string bytes(count, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(Next());
        }
        return bytes;
    }

private:
    uint32_t m_state;
};

std::vector<HostileConfig> CraftedConfigs()
{
    const std::string section = "[Log]\r\n";
    return {
        {"a 200000-character line before the section", std::string(200000, 'A') + "\r\n" + section + "print=1\r\n",
         Print::Either},
        {"a 100000-character section name", "[" + std::string(100000, 'L') + "]\r\nprint=1\r\n", Print::Off},
        {"a value of one and 99999 zeros", section + "print=1" + std::string(99999, '0') + "\r\n", Print::Off},
        {"a value of 5000 ones", section + "print=" + std::string(5000, '1') + "\r\n", Print::Off},
        {"a key of 70000 characters", section + std::string(70000, 'k') + "=1\r\nprint=0\r\n", Print::Off},
        {"2^32 + 1, which wraps to 1 in 32 bits", section + "print=4294967297\r\n", Print::Off},
        {"-(2^32 - 1), which wraps to 1 in 32 bits", section + "print=-4294967295\r\n", Print::Off},
        {"2^64 + 1, which wraps to 1 in 64 bits", section + "print=18446744073709551617\r\n", Print::Off},
        {"twenty nines", section + "print=99999999999999999999\r\n", Print::Off},
        {"the key with no section at all", "print=1\r\n", Print::Off},
        {"nothing but line ends", Repeat("\r\n", 50000), Print::Off},
        {"random bytes", Random(7).Bytes(64 << 10), Print::Either},
        {"random bytes around the section", Random(11).Bytes(4096) + "\r\n" + section + "print=1\r\n" +
                                                Random(13).Bytes(4096), Print::Either},
        {"zero bytes inside the value", section + std::string("print=\0\0" "1\r\n", 11), Print::Either},
        {"a UTF-16 byte-order mark and an odd byte count", std::string("\xFF\xFE[\0L\0o\0g\0]\0\r", 13), Print::Off},
        {"UTF-16 text", Utf16(L"[Log]\r\nprint=1\r\n"), Print::Either},
        {"an unclosed section", "[Log\r\nprint=1\r\n", Print::Either},
        {"eight megabytes of settings", Repeat("name=value\r\n", 700000) + section + "print=1\r\n", Print::Either},
    };
}

class HostileLogConfig : public ::testing::Test {
protected:
    std::wstring ConfigPath() const { return temp.Path() + L"logCfg.ini"; }
    std::wstring LogPath() const { return temp.Path() + L"ToolLog\\s.txt"; }

    // A front end over the configuration: one optional and one forced record; checks that the
    // forced one arrived whole and the optional one exactly when the switch is on. Returns the
    // switch.
    bool Check(const std::string& name, Print expected)
    {
        SCOPED_TRACE(name);
        ::DeleteFileW(LogPath().c_str());
        CLogSave log(temp.Path());
        if (expected != Print::Either) {
            EXPECT_EQ(expected == Print::On, log.IsPrintOn());
        }
        log.WriteLog("optional", "s.txt", false);
        log.WriteLog("forced", "s.txt", true);
        const std::vector<std::string> records = RecordsFrom(ReadBytes(LogPath()));
        EXPECT_EQ(log.IsPrintOn() ? 2u : 1u, records.size());
        if (records.empty()) {
            return log.IsPrintOn();
        }
        for (const std::string& record : records) {
            EXPECT_TRUE(HasStamp(record)) << record;
        }
        EXPECT_EQ("forced", records.back().substr(kStampLength));
        if (log.IsPrintOn()) {
            EXPECT_EQ("optional", records.front().substr(kStampLength));
        }
        return log.IsPrintOn();
    }

    TempFolder temp;
};

TEST_F(HostileLogConfig, CraftedContentSwitchesOnlyOnOneAndLosesNoForcedRecord)
{
    for (const HostileConfig& config : CraftedConfigs()) {
        WriteBytes(ConfigPath(), config.bytes);
        Check(config.name, config.expected);
    }
}

TEST_F(HostileLogConfig, RandomMixturesOfSettingsAndBytes)
{
    const std::vector<std::string> pieces = {"[Log]", "[log]", "[", "]", "print", "PRINT", "=", " ", "\t", "1",
                                             "0",     "-",     "+", "\r\n", "\n", "\r", ";", "\0", "\xFF\xFE",
                                             "\xFE\xFF", "\x81\x30\x81\x30", "\xD6\xD0", "99999999999",
                                             "\r\n[Log]\r\nprint=1\r\n"};
    Random random(2026);
    int switchedOn = 0;
    for (int round = 0; round < 60; ++round) {
        std::string bytes;
        const uint32_t count = 1 + random.Next() % 40;
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t pick = random.Next() % (pieces.size() + 2);
            if (pick < pieces.size()) {
                bytes += pieces[pick].empty() ? std::string(1, '\0') : pieces[pick];
            } else if (pick == pieces.size()) {
                bytes += random.Bytes(random.Next() % 64);
            } else {
                bytes += std::string(random.Next() % 5000, static_cast<char>('0' + random.Next() % 10));
            }
        }
        WriteBytes(ConfigPath(), bytes);
        switchedOn += Check("random mixture " + std::to_string(round), Print::Either) ? 1 : 0;
    }
    // The mixtures reach both ways through the front end.
    EXPECT_GT(switchedOn, 0);
    EXPECT_LT(switchedOn, 60);
}

TEST_F(HostileLogConfig, AFolderInTheFilesPlace)
{
    ASSERT_TRUE(::CreateDirectoryW(ConfigPath().c_str(), nullptr));
    Check("logCfg.ini is a folder", Print::Off);
    ::RemoveDirectoryW(ConfigPath().c_str());
}

TEST_F(HostileLogConfig, ManyRecordsUnderHostileContentArriveInOrder)
{
    WriteBytes(ConfigPath(), Random(5).Bytes(4096) + std::string(100000, '\n') + "[Log]\r\nprint=4294967297\r\n");
    CLogSave log(temp.Path());
    constexpr int kRecords = 300;
    for (int i = 0; i < kRecords; ++i) {
        log.WriteLog("record " + std::to_string(i), "s.txt", true);
    }
    const std::vector<std::string> records = RecordsFrom(ReadBytes(LogPath()));
    ASSERT_EQ(static_cast<size_t>(kRecords), records.size());
    for (int i = 0; i < kRecords; ++i) {
        EXPECT_EQ("record " + std::to_string(i), records[i].substr(kStampLength));
    }
}

}  // namespace
