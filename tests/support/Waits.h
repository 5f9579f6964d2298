#pragma once
// Waiting, always bounded: polling for what other processes do, pumping this thread's
// messages while its own windows must go on working, and steps run later from whatever
// message loop runs then (a modal loop included).
#include <windows.h>

#include <functional>

namespace testsupport {

// How a wait spends its time: asleep, when the windows waited for belong to other threads or
// processes, or dispatching this thread's messages, when its own windows take part.
enum class Waiting { Sleep, Pump };

// Polls `done` every `pollMs` until it holds or `timeoutMs` has passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 10);
// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);
// Dispatches this thread's messages until `done` holds or `timeoutMs` has passed; returns
// `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// WaitUntil or PumpUntil, and Sleep or PumpFor, as `waiting` says.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, Waiting waiting);
void Pause(DWORD ms, Waiting waiting);

// Runs `step` on this thread after about `delayMs`, from whatever message loop is running
// then (a modal loop included).
void Later(DWORD delayMs, std::function<void()> step);
// Runs `check` every 20 ms from the running message loop until it returns true, or until
// `timeoutMs`; then runs `then`.
void PollThen(const std::function<bool()>& check, DWORD timeoutMs, std::function<void()> then);

}  // namespace testsupport
