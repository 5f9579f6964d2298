#pragma once
// Steps of the long and hostile runs of the whole tool, driven through real input: a repair
// from click to result prompt, the agreement bubble shown and hidden by its link, the agent
// taken out of its place, and the repair log read as records.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/AppTestSupport.h"

namespace soak {

using namespace apptest;

// The agreement link, and the bubble's text box, by which its content window is found.
constexpr int kAgreementLink = 1014;
constexpr int kAgreementText = 1008;

constexpr wchar_t kSucceededText[] = L"修复Quenmar软件名称显示乱码成功！";
constexpr wchar_t kFailedText[] = L"修复Quenmar软件名称显示乱码失败！";
constexpr wchar_t kRemoveFailedRecord[] = L"执行修复removeproductsstatus命令失败";

// What one click on the repair button led to.
struct RepairOutcome {
    bool sawBusyPopup = false;
    HWND prompt = nullptr;  // the result prompt, once laid out
    DWORD peakThreads = 0;  // the most threads the tool had while the repair ran
    int clicks = 0;         // 2 when the first click brought no trace of a repair
};
RepairOutcome ClickRepair(const ToolRun& run, HWND panel, DWORD timeoutMs = 20000);

// One click on the agreement link; true when the bubble then shows (`shown`) or has gone.
bool ClickAgreementLink(const ToolRun& run, HWND panel, bool shown);
bool BubbleShowing(const ToolRun& run);

// The records (without CR LF) in `log` from byte `from` on; a tail without CR LF is a record
// too, so that a torn record shows.
std::vector<std::string> RecordsFrom(const std::string& log, size_t from);
// Length of "[yyyy-mm-dd hh:mm:ss mmmms]   ", and whether a record starts with one.
constexpr size_t kStampLength = 30;
bool HasStamp(const std::string& record);

// Ends the agent processes of this run that are still alive (by the process ids in the agent
// stand-in's journal), with the interpreters that started them; returns how many it ended.
int EndAgentProcesses(const ToolRun& run);

}  // namespace soak
