#pragma once
// The screenshots of one end-to-end flow, in out/e2e/<flow>/ at the repository root, named by
// step in the order they are taken: 01-main.png, 02-busy.png ... Earlier screenshots of the
// flow are removed when it starts.
#include <windows.h>

#include <string>

#include "tests/support/ToolRun.h"

class FlowShots {
public:
    explicit FlowShots(const std::string& flow);

    // What the screen shows around every visible window of the tool (grown by a margin, so
    // that shadows show whole); false when nothing could be saved.
    bool Tool(const std::string& step, const testsupport::ToolRun& run);
    // What the screen shows in `area`.
    bool Area(const std::string& step, const RECT& area);
    bool Screen(const std::string& step);
    // The file of the next step, for a picture saved more than once while it changes.
    std::wstring Next(const std::string& step);

private:
    std::wstring m_folder;
    int m_taken = 0;
};
