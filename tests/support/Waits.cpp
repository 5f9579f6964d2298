#include "tests/support/Waits.h"

#include <map>
#include <memory>
#include <utility>

namespace testsupport {
namespace {

// The steps waiting for their timer, by timer id. Only this thread's message loops run them.
std::map<UINT_PTR, std::function<void()>>& PendingSteps()
{
    static std::map<UINT_PTR, std::function<void()>> steps;
    return steps;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    auto found = PendingSteps().find(id);
    if (found == PendingSteps().end()) {
        return;
    }
    std::function<void()> step = std::move(found->second);
    PendingSteps().erase(found);
    step();
}

void DispatchWaiting()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= deadline) {
            return done();
        }
        ::Sleep(pollMs);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        DispatchWaiting();
        if (done()) {
            return true;
        }
        if (::GetTickCount64() >= deadline) {
            return done();
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, Waiting waiting)
{
    return waiting == Waiting::Pump ? PumpUntil(done, timeoutMs) : WaitUntil(done, timeoutMs);
}

void Pause(DWORD ms, Waiting waiting)
{
    if (waiting == Waiting::Pump) {
        PumpFor(ms);
    } else {
        ::Sleep(ms);
    }
}

void Later(DWORD delayMs, std::function<void()> step)
{
    const UINT_PTR id = ::SetTimer(nullptr, 0, delayMs ? delayMs : 1, &RunStep);
    PendingSteps()[id] = std::move(step);
}

void PollThen(const std::function<bool()>& check, DWORD timeoutMs, std::function<void()> then)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    auto step = std::make_shared<std::function<void()>>();
    *step = [check, deadline, then, step]() {
        if (check() || ::GetTickCount64() >= deadline) {
            then();
            *step = nullptr;  // breaks the cycle
            return;
        }
        Later(20, *step);
    };
    Later(1, *step);
}

}  // namespace testsupport
