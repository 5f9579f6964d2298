#pragma once
// Steps of the long and hostile runs of the whole tool, driven through real input: a repair
// from click to result prompt, the agreement bubble shown and hidden by its link, and the
// agent's processes ended. The support library's headers come with it: the runs use the tool
// driver, the stand-ins and the log's records throughout.
#include <windows.h>

#include <vector>

#include "tests/support/Files.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/LogRecords.h"
#include "tests/support/Standins.h"
#include "tests/support/Text.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"

namespace soak {

using namespace testsupport;

// What one click on the repair button led to.
struct RepairOutcome {
    bool sawBusyPopup = false;
    HWND prompt = nullptr;  // the result prompt, once laid out
    DWORD peakThreads = 0;  // the most threads the tool had while the repair ran
    bool clicked = false;   // the pointer reached the button and it was clicked
};
RepairOutcome ClickRepair(const ToolRun& run, HWND panel, DWORD timeoutMs = 20000);

// One click on the agreement link; true when the bubble then shows (`shown`) or has gone.
bool ClickAgreementLink(const ToolRun& run, HWND panel, bool shown);
bool BubbleShowing(const ToolRun& run);

// Ends the agent processes of this run that are still alive (by the process ids in the agent
// stand-in's journal), with the interpreters that started them; returns how many it ended.
int EndAgentProcesses(const ToolRun& run);

}  // namespace soak
