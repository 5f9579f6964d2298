// The tool as a whole against the plainest one-dialog program built the same way, both
// started the same way from a scratch folder of their own. Prints the Markdown table row of
// the time from process start to the main window painted:
// | measure (baseline) | Veskar | baseline | ratio | target |
// and, for information, the same against that bare program built with the tool's manifest,
// then keeps the tool and the bare program idle for scripts/bench.sh, which measures what
// the machine pays for them from outside Wine: under Wine a process's own view of its
// processor time is about a tenth of what the host counts. The script and this program take
// turns through files in a folder given as the only argument:
//   idle-1.ready  both programs idle, the pointer away from them  -> idle-1.done
//   idle-2.ready  the same, after the agreement bubble was shown and hidden once  -> idle-2.done
// Each program is ended by TerminateProcess, so the tool never removes its files.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BareDialogIds.h"
#include "res/resource.h"
#include "tests/support/Files.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/Text.h"
#include "tests/support/Tool.h"
#include "tests/support/ToolRun.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// Single starts under Wine here spread over 80 ms and more: five runs left the median some 0.07
// of a ratio apart from one run to the next.
constexpr int kStartRuns = 11;
constexpr double kStartRatioTarget = 1.3;
// How long the script may take over one idle phase.
constexpr DWORD kPhaseTimeoutMs = 120000;
// Where the pointer rests while the programs idle: on the bare desktop, away from both.
constexpr POINT kAway{4, 4};

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

// The median and the spread of a few timings.
struct Spread {
    double median = -1;
    double low = -1;
    double high = -1;
};

Spread SpreadOf(std::vector<double> values)
{
    values.erase(std::remove(values.begin(), values.end(), -1.0), values.end());
    if (values.empty()) {
        return {};
    }
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// One row of the start against a baseline; `target` fills the last column.
void PrintStartRow(const char* baseline, const Spread& tool, const Spread& base, const std::string& target)
{
    if (tool.median <= 0 || base.median <= 0) {
        std::printf("| start to main window painted, ms, median of %d (%s) | n/a | n/a | n/a | %s |\n", kStartRuns,
                    baseline, target.c_str());
    } else {
        std::printf("| start to main window painted, ms, median of %d [min-max] (%s) | %.0f [%.0f-%.0f] | "
                    "%.0f [%.0f-%.0f] | %.2f | %s |\n",
                    kStartRuns, baseline, tool.median, tool.low, tool.high, base.median, base.low, base.high,
                    tool.median / base.median, target.c_str());
    }
    std::fflush(stdout);
}

// The target row against the bare program, then, for information, the row against the bare
// program carrying the tool's manifest, with what that manifest alone costs it.
void PrintStartRows(const Spread& tool, const Spread& bare, const Spread& bareWithManifest)
{
    const bool met = tool.median > 0 && bare.median > 0 && tool.median / bare.median <= kStartRatioTarget;
    char target[64];
    std::snprintf(target, sizeof(target), "at most %.2f: %s", kStartRatioTarget, met ? "met" : "missed");
    PrintStartRow("bare one-dialog program", tool, bare, target);

    std::string information = "for information";
    if (bare.median > 0 && bareWithManifest.median > 0) {
        char cost[96];
        std::snprintf(cost, sizeof(cost), ": the manifest alone adds %.0f ms to the bare program",
                      bareWithManifest.median - bare.median);
        information += cost;
    }
    PrintStartRow("the bare one-dialog program with the tool's manifest: common controls 6, DPI awareness, "
                  "administrator",
                  tool, bareWithManifest, information);
}

// Tells the script that a phase can be measured and waits until it has been.
bool HandOver(const std::wstring& folder, const std::wstring& phase)
{
    const std::wstring ready = folder + L"\\" + phase + L".ready";
    HANDLE file = ::CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot write %s\n", Utf8(ready).c_str());
        return false;
    }
    ::CloseHandle(file);
    const std::wstring done = folder + L"\\" + phase + L".done";
    if (!WaitUntil([&] { return FileExists(done); }, kPhaseTimeoutMs, 100)) {
        std::fprintf(stderr, "the script did not measure %s\n", Utf8(phase).c_str());
        return false;
    }
    return true;
}

// Opens the agreement bubble by its link and hides it by a click on the desktop, as a user
// does; the pointer stays on the desktop.
bool ShowAndHideAgreement(const ToolRun& run)
{
    const std::vector<HWND> panels = run.WindowsWith(kPanelMarker);
    if (panels.empty() || !ClickControl(panels.front(), IDC_AGREEMENT_LINK)) {
        return false;
    }
    if (!WaitUntil([&] { return !run.WindowsWith(IDC_AGREEMENT_EDIT).empty(); }, 5000)) {
        std::fprintf(stderr, "the agreement bubble did not show\n");
        return false;
    }
    // Long enough for the bubble to paint and its scroll bar to be kept in step once.
    ::Sleep(1000);
    if (!ClickAt(kAway) || !WaitUntil([&] { return run.WindowsWith(IDC_AGREEMENT_EDIT).empty(); }, 5000)) {
        std::fprintf(stderr, "the agreement bubble did not hide\n");
        return false;
    }
    return true;
}

// Both started centred: the bare program goes to the screen's right edge so that it covers
// nothing of the tool that a click must reach.
void MoveAside(const ToolRun& run, int marker)
{
    const std::vector<HWND> windows = run.WindowsWith(marker);
    if (windows.empty()) {
        return;
    }
    const RECT rect = WindowScreenRect(windows.front());
    ::SetWindowPos(windows.front(), nullptr, ::GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left), rect.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_bench <folder shared with scripts/bench.sh>\n");
        return 2;
    }
    const std::wstring handshake = argv[1];
    Program tool{L"bench-tool", BuildFiles(L"..\\"), {}, kPanelMarker};
    Program bare{L"bench-bare", {BesideProgram(L"BareDialog.exe"), L"", L""}, {}, IDC_BARE_TEXT};
    bare.options.library = Library::Missing;
    bare.options.programName = L"BareDialog.exe";
    Program bareWithManifest{L"bench-bare-manifest", {BesideProgram(L"BareManifestDialog.exe"), L"", L""}, {},
                             IDC_BARE_TEXT};
    bareWithManifest.options.library = Library::Missing;
    bareWithManifest.options.programName = L"BareManifestDialog.exe";

    // Alternating, so that both see the same conditions.
    std::vector<double> toolTimes;
    std::vector<double> bareTimes;
    std::vector<double> bareWithManifestTimes;
    Started lastTool;
    Started lastBare;
    for (int run = 0; run < kStartRuns; ++run) {
        Stop(lastTool);
        Stop(lastBare);
        lastTool = Start(tool);
        toolTimes.push_back(lastTool.paintedMs);
        lastBare = Start(bare);
        bareTimes.push_back(lastBare.paintedMs);
        // Started while the other two are up, as each of them is; not kept for the idle phases.
        Started withManifest = Start(bareWithManifest);
        bareWithManifestTimes.push_back(withManifest.paintedMs);
        Stop(withManifest);
    }
    PrintStartRows(SpreadOf(toolTimes), SpreadOf(bareTimes), SpreadOf(bareWithManifestTimes));

    // The last two stay up for the idle phases.
    if (!lastTool.run || !lastBare.run || !lastTool.run->Running() || !lastBare.run->Running()) {
        std::fprintf(stderr, "a program did not stay up for the idle measures\n");
        return 1;
    }
    MoveAside(*lastBare.run, IDC_BARE_TEXT);
    // Away from both windows: under Wine a button of the common controls polls the pointer
    // every few milliseconds while it lies over it (hot tracking), which is Wine's cost.
    MovePointer(kAway);
    ::Sleep(1000);
    if (!HandOver(handshake, L"idle-1")) {
        return 1;
    }
    const bool toggled = ShowAndHideAgreement(*lastTool.run);
    ::Sleep(1000);
    if (!HandOver(handshake, L"idle-2") || !toggled) {
        return 1;
    }
    return 0;
}
