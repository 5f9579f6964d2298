#include "tests/e2e/E2eSupport.h"

#include <algorithm>
#include <cstdio>

#include "tests/app/ScreenImage.h"

namespace e2e {
namespace {

// Pixels around the tool's windows in a screenshot, so that their shadows show whole.
constexpr int kShotMargin = 12;

// The panel's picture, and a part of the panel (client coordinates at scale 1.0) where no
// control lies over it: the title and the shield.
constexpr UINT kPanelPicture = 139;
constexpr RECT kBareArea{10, 40, 390, 250};

void MakeFolders(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    }
    ::CreateDirectoryW(path.c_str(), nullptr);
}

void RemovePictures(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

std::wstring Wide(const std::string& text)
{
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

RECT OnScreen(RECT area)
{
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT clipped{};
    ::IntersectRect(&clipped, &area, &screen);
    return clipped;
}

void SendMouse(DWORD flags, DWORD data = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    ::SendInput(1, &input, sizeof(INPUT));
}

void SendKey(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

std::wstring ShotsRoot()
{
    return BesideProgram(L"..\\..\\..\\out\\e2e");
}

FlowShots::FlowShots(const std::string& flow) : m_folder(ShotsRoot() + L"\\" + Wide(flow))
{
    MakeFolders(m_folder);
    RemovePictures(m_folder);
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
    RECT area = Bounds(VisibleWindows(run.ProcessId()));
    ::InflateRect(&area, kShotMargin, kShotMargin);
    return Area(step, area);
}

bool FlowShots::Screen(const std::string& step)
{
    return Area(step, RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
}

std::vector<HWND> VisibleWindows(DWORD pid)
{
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid && ::IsWindowVisible(window)) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT Bounds(const std::vector<HWND>& windows)
{
    RECT bounds{};
    for (HWND window : windows) {
        const RECT rect = WindowScreenRect(window);
        ::UnionRect(&bounds, &bounds, &rect);
    }
    return bounds;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[128] = {};
    const int length = ::GetClassNameW(window, name, 128);
    return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

HWND WaitForTopLevel(const ToolRun& run, const wchar_t* className, const wchar_t* text, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindows(run.ProcessId())) {
                if (ClassName(window) == className && (!text || WindowText(window) == text)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND FrameOf(HWND content)
{
    HWND owner = ::GetWindow(content, GW_OWNER);
    return owner ? owner : content;
}

void PressChord(WORD modifier, WORD key)
{
    SendKey(modifier, false);
    SendKey(key, false);
    SendKey(key, true);
    SendKey(modifier, true);
}

void TurnWheel(int notches)
{
    SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(notches * WHEEL_DELTA));
}

bool PressAndDrag(POINT from, POINT to, bool release)
{
    if (!MovePointer(from)) {
        return false;
    }
    LeftButton(true);
    constexpr int kSteps = 8;
    bool followed = true;
    for (int step = 1; step <= kSteps; ++step) {
        followed =
            MovePointer(POINT{from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps}) &&
            followed;
    }
    if (release) {
        LeftButton(false);
    }
    return followed;
}

LRESULT CheckState(HWND dialog, int id)
{
    DWORD_PTR state = 0;
    ::SendMessageTimeoutW(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return static_cast<LRESULT>(state);
}

int FirstVisibleLine(HWND edit)
{
    DWORD_PTR line = 0;
    if (!::SendMessageTimeoutW(edit, EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_ABORTIFHUNG, 2000, &line)) {
        return -1;
    }
    return static_cast<int>(line);
}

std::vector<std::string> CallsNamed(const ToolRun& run, const std::string& call)
{
    std::vector<std::string> calls;
    for (const std::string& line : run.FeedbackCalls()) {
        if (!Fields(line).empty() && Fields(line).front() == call) {
            calls.push_back(line);
        }
    }
    return calls;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string RectText(const RECT& rect)
{
    return "[" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + "]";
}

bool PanelPainted(HWND panel)
{
    static const Image picture = LoadPngResource(Files().tool, kPanelPicture);
    const RECT panelRect = WindowScreenRect(panel);
    if (picture.Empty() || panelRect.right - panelRect.left != picture.width) {
        return false;
    }
    RECT bare = kBareArea;
    ::OffsetRect(&bare, panelRect.left, panelRect.top);
    Image slice;
    slice.width = kBareArea.right - kBareArea.left;
    slice.height = kBareArea.bottom - kBareArea.top;
    for (int y = kBareArea.top; y < kBareArea.bottom; ++y) {
        for (int x = kBareArea.left; x < kBareArea.right; ++x) {
            slice.pixels.push_back(picture.At(x, y));
        }
    }
    if (ShareShowing(slice, bare) < 0.9) {
        return false;
    }
    static const Image repairLooks[] = {LoadPngResource(Files().tool, 188), LoadPngResource(Files().tool, 189),
                                        LoadPngResource(Files().tool, 191)};
    const RECT repair = ControlScreenRect(panel, kPanelMarker);
    return std::any_of(std::begin(repairLooks), std::end(repairLooks),
                       [&](const Image& look) { return ShareShowing(look, repair) > 0.9; });
}

bool WaitForPanelPainted(HWND panel, DWORD timeoutMs)
{
    return WaitUntil([panel] { return PanelPainted(panel); }, timeoutMs, 50);
}

HWND WaitForIdlePanel(ToolSession& tool, std::string& why)
{
    if (!tool->Started()) {
        why = tool->Error();
        return nullptr;
    }
    HWND panel = tool->WaitForPanel();
    if (!panel) {
        why = "the main window did not show";
        return nullptr;
    }
    if (!WaitForVersionCheck(tool.Run())) {
        why = "the version check did not run";
        return nullptr;
    }
    return panel;
}

}  // namespace e2e
