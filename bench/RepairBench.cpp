// Speed of the log writer and the command runner against the plainest way of doing the
// same work, measured in one run. Prints Markdown table rows:
// | measure | Veskar | baseline | ratio |
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "log/CLogSaveCloseFile.h"
#include "log/LogRecord.h"
#include "repair/RunCommand.h"
#include "tests/support/Files.h"

using testsupport::TempFolder;

namespace {

constexpr int kRecords = 1000;
constexpr int kRounds = 5;
constexpr int kCommandRuns = 9;

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double Time(Work work)
{
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

void Remove(const std::wstring& path)
{
    ::DeleteFileW(path.c_str());
    ::DeleteFileW((path + L"bak").c_str());
}

// The repair's own log line.
const std::string kMessage = WideToCp936(L"执行修复removeproductsstatus命令失败");

double WriterSeconds(const std::wstring& folder)
{
    Remove(folder + L"writer.txt");
    CLogSaveCloseFile writer(folder);
    return Time([&] {
        for (int i = 0; i < kRecords; ++i) {
            writer.WriteText(kMessage, "writer.txt");
        }
    });
}

// Open, append the same bytes, close: nothing else.
double PlainSeconds(const std::wstring& folder)
{
    const std::wstring path = folder + L"plain.txt";
    Remove(path);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::string record = FormatLogRecord(now, kMessage);
    return Time([&] {
        for (int i = 0; i < kRecords; ++i) {
            const HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
            ::CloseHandle(file);
        }
    });
}

double RunCommandSeconds()
{
    std::wstring output;
    return Time([&] { RunCommand(L"exit", output); });
}

double DirectCommandSeconds()
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring interpreter = std::wstring(system) + L"\\cmd.exe";
    return Time([&] {
        std::wstring commandLine = L"cmd /C exit";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (::CreateProcessW(interpreter.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process)) {
            ::WaitForSingleObject(process.hProcess, INFINITE);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
    });
}

}  // namespace

// Each pair is measured alternately and the fastest run of each side counts, so that the
// other work of a busy machine weighs on both sides alike.
int wmain()
{
    double writer = 1e9;
    double plain = 1e9;
    {
        const TempFolder folder;
        for (int round = 0; round < kRounds; ++round) {
            plain = std::min(plain, PlainSeconds(folder.Path()));
            writer = std::min(writer, WriterSeconds(folder.Path()));
        }
    }
    std::printf("| close-file log writer, records/s (plain open-append-close loop) | %.0f | %.0f | %.2f |\n",
                kRecords / writer, kRecords / plain, plain / writer);

    double runner = 1e9;
    double direct = 1e9;
    for (int run = 0; run < kCommandRuns; ++run) {
        direct = std::min(direct, DirectCommandSeconds());
        runner = std::min(runner, RunCommandSeconds());
    }
    std::printf("| one RunCommand of a quiet command, ms (cmd /C exit started directly) | %.1f | %.1f | %.2f |\n",
                runner * 1000, direct * 1000, runner / direct);
    return 0;
}
