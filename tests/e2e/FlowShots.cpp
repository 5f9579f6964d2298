#include "tests/e2e/FlowShots.h"

#include <cstdio>

#include "tests/support/Files.h"
#include "tests/support/Geometry.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Text.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

// Pixels around the tool's windows in a screenshot, so that their shadows show whole.
constexpr int kShotMargin = 12;

// The repository's out/e2e folder, from the test program's place in the build folder.
std::wstring ShotsRoot()
{
    return BesideProgram(L"..\\..\\..\\out\\e2e");
}

RECT OnScreen(RECT area)
{
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT clipped{};
    ::IntersectRect(&clipped, &area, &screen);
    return clipped;
}

}  // namespace

FlowShots::FlowShots(const std::string& flow) : m_folder(ShotsRoot() + L"\\" + Wide(flow))
{
    MakeFolders(m_folder);
    for (const std::wstring& name : FolderEntries(m_folder)) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".png") == 0) {
            ::DeleteFileW((m_folder + L"\\" + name).c_str());
        }
    }
}

std::wstring FlowShots::Next(const std::string& step)
{
    char number[8];
    std::snprintf(number, sizeof(number), "%02d-", ++m_taken);
    return m_folder + L"\\" + Wide(number + step) + L".png";
}

bool FlowShots::Area(const std::string& step, const RECT& area)
{
    const std::wstring path = Next(step);
    const RECT visible = OnScreen(area);
    return !::IsRectEmpty(&visible) && SavePng(CaptureScreen(visible), path);
}

bool FlowShots::Tool(const std::string& step, const ToolRun& run)
{
    return Area(step, Grown(Bounds(VisibleWindows(run.ProcessId())), kShotMargin));
}

bool FlowShots::Screen(const std::string& step)
{
    return Area(step, RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
}
