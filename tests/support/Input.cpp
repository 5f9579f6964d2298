#include "tests/support/Input.h"

namespace testsupport {
namespace {

bool PointerAt(POINT target)
{
    POINT now{};
    ::GetCursorPos(&now);
    return now.x == target.x && now.y == target.y;
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

void SendPointerMove(POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 over the primary screen; +1 lands inside the pixel.
    input.mi.dx = screen.x * 65536 / ::GetSystemMetrics(SM_CXSCREEN) + 1;
    input.mi.dy = screen.y * 65536 / ::GetSystemMetrics(SM_CYSCREEN) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

bool MovePointer(POINT screen, Waiting waiting)
{
    // A late motion from an earlier move may still arrive: move again until the pointer
    // stays on the target.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SendPointerMove(screen);
        WaitUntil([screen] { return PointerAt(screen); }, 300, waiting);
        Pause(40, waiting);
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

void LeftButton(bool down)
{
    SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void RightButton(bool down)
{
    SendMouse(down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
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
