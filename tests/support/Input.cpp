#include "tests/support/Input.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace testsupport {
namespace {

bool PointerAt(POINT target)
{
    POINT now{};
    ::GetCursorPos(&now);
    return now.x == target.x && now.y == target.y;
}

// Wine reads the cursor position back from the X server once it has not changed for 100 ms.
constexpr DWORD kCursorRestMs = 120;
// Long enough for a late motion of an earlier move to arrive.
constexpr DWORD kLateMotionMs = 40;

// Where the driver last put the pointer: button events are sent at this point.
POINT& PointerTarget()
{
    static POINT target{};
    return target;
}

// The processes of the tool runs started by this program that still run.
std::vector<DWORD>& DrivenProcesses()
{
    static std::vector<DWORD> processes;
    return processes;
}

// A mouse event at an absolute screen point.
void SendMouseAt(POINT screen, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the primary screen; +1 lands inside the pixel.
    input.mi.dx = screen.x * 65536 / ::GetSystemMetrics(SM_CXSCREEN) + 1;
    input.mi.dy = screen.y * 65536 / ::GetSystemMetrics(SM_CYSCREEN) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    ::SendInput(1, &input, sizeof(INPUT));
}

// Lets every driven process take what the window system has queued for it so far: two
// message round trips through its interface thread (the first may wake it from a wait that
// skips the X events; after it, the thread processes them before it waits again).
void SettleDrivenProcesses()
{
    for (DWORD pid : DrivenProcesses()) {
        HWND window = nullptr;
        for (HWND candidate = ::GetTopWindow(nullptr); candidate && !window;
             candidate = ::GetWindow(candidate, GW_HWNDNEXT)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(candidate, &owner);
            window = owner == pid ? candidate : nullptr;
        }
        for (int trip = 0; window && trip < 2; ++trip) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
        }
    }
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

bool InMoveLoop(DWORD thread)
{
    GUITHREADINFO info{sizeof(info)};
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
}

POINT Between(POINT from, POINT to, int step, int steps)
{
    return POINT{from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps};
}

}  // namespace

void DriveProcess(DWORD pid)
{
    DrivenProcesses().push_back(pid);
}

void StopDrivingProcess(DWORD pid)
{
    auto& processes = DrivenProcesses();
    processes.erase(std::remove(processes.begin(), processes.end(), pid), processes.end());
}

// Wine keeps two pointers: its own, which input events move, and the X server's. It reads the
// X server's back as the cursor position once the cursor has rested for 100 ms, and turns every
// window that appears or goes under the X pointer into a move to it. SendInput moves only
// Wine's while a program holds a low-level mouse hook (the tool does), so SetCursorPos moves
// the X server's as well, as a real mouse would.
void SendPointerMove(POINT screen)
{
    PointerTarget() = screen;
    ::SetCursorPos(screen.x, screen.y);
    SendMouseAt(screen, 0);
}

namespace {

// SetCursorPos warps the X pointer only when it changes the position Wine's server holds, and
// a tool's late report of where the X pointer had been can leave the server at exactly the
// target while the X pointer rests elsewhere: then no move to the target reaches the X server.
// Going through a neighbouring pixel makes the next move a change, so it warps. Only after a
// move that did not land, since the extra warp is a motion of its own; said every time.
void WarpThroughNeighbour(POINT screen)
{
    POINT seen{};
    ::GetCursorPos(&seen);
    std::fprintf(stderr, "pointer: aimed at (%ld,%ld), Wine reads (%ld,%ld) back; warping through a neighbour\n",
                 screen.x, screen.y, seen.x, seen.y);
    ::SetCursorPos(screen.x > 0 ? screen.x - 1 : screen.x + 1, screen.y);
}

}  // namespace

bool MovePointer(POINT screen, Waiting waiting)
{
    // Window events of this program's own windows that come from before a move are known to
    // Wine as such and dropped; only a driven process needs to be waited for.
    const bool driving = !DrivenProcesses().empty();
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0) {
            WarpThroughNeighbour(screen);
        }
        SendPointerMove(screen);
        WaitUntil([screen] { return PointerAt(screen); }, 300, waiting);
        // Once the cursor has rested, its position comes from the X server: there, the pointer
        // has been moved, and with it every window event that came before the move.
        Pause(driving ? kCursorRestMs : kLateMotionMs, waiting);
        if (!PointerAt(screen)) {
            continue;
        }
        // Moves to where the pointer was before (windows that appeared under it) may still
        // wait in a driven tool's queue, ahead of the move's own: the tool takes them now,
        // and a press sent after this lands where it was aimed.
        SettleDrivenProcesses();
        if (PointerAt(screen)) {
            return true;
        }
    }
    return false;
}

bool ParkPointer(Waiting waiting)
{
    return MovePointer(POINT{2, 2}, waiting);
}

// Buttons go with their point, so that a move Wine makes from a late X event between the
// driver's move and its press cannot carry the press elsewhere.
void LeftButton(bool down)
{
    SendMouseAt(PointerTarget(), down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void RightButton(bool down)
{
    SendMouseAt(PointerTarget(), down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
}

bool ClickAt(POINT screen, Waiting waiting)
{
    if (!MovePointer(screen, waiting)) {
        return false;
    }
    LeftButton(true);
    LeftButton(false);
    return true;
}

bool ClickControl(HWND dialog, int id, Waiting waiting)
{
    HWND control = ::GetDlgItem(dialog, id);
    RECT rect{};
    return control && ::GetWindowRect(control, &rect) &&
           ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, waiting);
}

void PressKey(WORD virtualKey)
{
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
}

void PressChord(WORD modifier, WORD key)
{
    SendKey(modifier, false);
    PressKey(key);
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
        followed = MovePointer(Between(from, to, step, kSteps)) && followed;
    }
    if (release) {
        LeftButton(false);
    }
    return followed;
}

bool DragWithMouse(POINT from, POINT to, DWORD uiThread)
{
    if (!MovePointer(from)) {
        return false;
    }
    LeftButton(true);
    if (!WaitUntil([uiThread] { return InMoveLoop(uiThread); }, 2000)) {
        LeftButton(false);
        return false;
    }
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
        ::Sleep(20);
        SendPointerMove(Between(from, to, step, kSteps));
    }
    WaitUntil([to] { return PointerAt(to); }, 1000);
    ::Sleep(50);
    LeftButton(false);
    return WaitUntil([uiThread] { return !InMoveLoop(uiThread); }, 2000);
}

void PostKey(HWND target, WPARAM key)
{
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

}  // namespace testsupport
