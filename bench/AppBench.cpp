// The tool as a whole against the plainest one-dialog program built the same way, both
// started the same way from a scratch folder of their own: time from process start to the
// main window painted, processor time while idle, peak resident memory. Each program is
// ended by TerminateProcess, so the tool never removes its files. Prints Markdown table rows:
// | measure (baseline) | Veskar | baseline | ratio |
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/BareDialogIds.h"
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/Text.h"
#include "tests/support/ToolRun.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

constexpr int kStartRuns = 5;
constexpr DWORD kIdleMs = 10000;

struct Program {
    const wchar_t* label;
    ToolFiles files;
    LaunchOptions options;
    int marker;  // a control of its main window
};

// A program started and shown, with how long that took.
struct Started {
    std::unique_ptr<ScratchFolder> folder;
    std::unique_ptr<ToolRun> run;
    double paintedMs = -1;
};

// From process creation to the main window shown and the program idle (its window painted).
Started Start(const Program& program)
{
    Started started;
    started.folder = std::make_unique<ScratchFolder>(ScratchPath(program.label));
    started.run = std::make_unique<ToolRun>(program.files, started.folder->Path(), program.options);
    ToolRun& run = *started.run;
    if (!run.Started()) {
        std::fprintf(stderr, "%s\n", run.Error().c_str());
        return started;
    }
    const bool shown = WaitUntil([&] { return !run.WindowsWith(program.marker).empty(); }, 20000, 1);
    if (shown && ::WaitForInputIdle(run.Process(), 10000) == 0) {
        started.paintedMs = static_cast<double>(::GetTickCount64() - run.StartTick());
    }
    return started;
}

// Killed first, then its folder removed.
void Stop(Started& started)
{
    started.run.reset();
    started.folder.reset();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// The entries of a folder of Linux's /proc (seen through Wine's Z: drive) named by a number.
std::vector<std::wstring> Numbered(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    for (const std::wstring& name : FolderEntries(folder)) {
        if (name[0] >= L'0' && name[0] <= L'9') {
            names.push_back(name);
        }
    }
    return names;
}

// Under Wine, GetProcessTimes counts in the kernel's 10 ms ticks, too coarse for an idle
// program; the scheduler's own figure (nanoseconds, summed over the process's threads) is
// read instead when Linux's /proc can be seen. The process is found by its command line,
// which holds its scratch folder. -1 when it cannot be found.
double LinuxCpuMs(const std::wstring& folder)
{
    // Wine puts the Windows command line there.
    const std::string program = Utf8(folder + L"\\");
    for (const std::wstring& pid : Numbered(L"Z:\\proc")) {
        // Such files report no size: ReadBytes reads them to their end.
        const std::string commandLine = ReadBytes(L"Z:\\proc\\" + pid + L"\\cmdline");
        if (commandLine.find(program) == std::string::npos) {
            continue;
        }
        double totalNs = 0;
        for (const std::wstring& task : Numbered(L"Z:\\proc\\" + pid + L"\\task")) {
            const std::string schedstat = ReadBytes(L"Z:\\proc\\" + pid + L"\\task\\" + task + L"\\schedstat");
            totalNs += std::strtod(schedstat.c_str(), nullptr);
        }
        return totalNs / 1e6;
    }
    return -1;
}

double CpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return -1;
    }
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

double PeakMb(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(process, &counters, sizeof(counters))) {
        return -1;
    }
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Below this a measure counts as nothing: a ratio against it says only "more than".
constexpr double kMeasurable = 0.1;

void Row(const char* measure, double tool, double baseline, const char* format)
{
    char toolText[32];
    char baseText[32];
    std::snprintf(toolText, sizeof(toolText), format, tool);
    std::snprintf(baseText, sizeof(baseText), format, baseline);
    if (tool < 0 || baseline < 0) {
        std::printf("| %s | %s | %s | n/a |\n", measure, tool < 0 ? "n/a" : toolText, baseline < 0 ? "n/a" : baseText);
    } else if (baseline < kMeasurable) {
        // The bare program did not measurably use any: the ratio is only bounded from below.
        std::printf("| %s | %s | < %.1f | > %.0f |\n", measure, toolText, kMeasurable, tool / kMeasurable);
    } else {
        std::printf("| %s | %s | %s | %.2f |\n", measure, toolText, baseText, tool / baseline);
    }
    std::fflush(stdout);
}

}  // namespace

int wmain()
{
    Program tool{L"bench-tool", BuildFiles(L"..\\"), {}, kPanelMarker};
    Program bare{L"bench-bare", {BesideProgram(L"BareDialog.exe"), L"", L""}, {}, IDC_BARE_TEXT};
    bare.options.library = Library::Missing;
    bare.options.programName = L"BareDialog.exe";

    // Alternating, so that both see the same conditions.
    std::vector<double> toolTimes;
    std::vector<double> bareTimes;
    Started lastTool;
    Started lastBare;
    for (int run = 0; run < kStartRuns; ++run) {
        Stop(lastTool);
        Stop(lastBare);
        lastTool = Start(tool);
        toolTimes.push_back(lastTool.paintedMs);
        lastBare = Start(bare);
        bareTimes.push_back(lastBare.paintedMs);
    }
    Row("start to main window painted, ms, median of 5 (bare one-dialog program)", Median(toolTimes),
        Median(bareTimes), "%.0f");

    // The last two stay up; both idle over the same ten seconds.
    if (!lastTool.run || !lastBare.run || !lastTool.run->Running() || !lastBare.run->Running()) {
        std::fprintf(stderr, "a program did not stay up for the idle measures\n");
        return 1;
    }
    // Away from both windows: under Wine a button of the common controls polls the pointer
    // every few milliseconds while it lies over it (hot tracking), which is Wine's cost.
    MovePointer(POINT{4, 4});
    ::Sleep(1000);
    auto cpu = [](const Started& started) {
        const double scheduled = LinuxCpuMs(started.folder->Path());
        return scheduled >= 0 ? scheduled : CpuMs(started.run->Process());
    };
    const double toolBefore = cpu(lastTool);
    const double bareBefore = cpu(lastBare);
    ::Sleep(kIdleMs);
    const double toolUsed = cpu(lastTool) - toolBefore;
    const double bareUsed = cpu(lastBare) - bareBefore;
    Row("processor time while idle for 10 s, ms (bare one-dialog program)", toolUsed, bareUsed, "%.1f");
    Row("peak resident memory, MB (bare one-dialog program)", PeakMb(lastTool.run->Process()),
        PeakMb(lastBare.run->Process()), "%.1f");
    return 0;
}
