#include "framework/ThreadWait.h"

#include <vector>

bool WaitForThreads(const HANDLE* threads, DWORD count, DWORD boundMs)
{
    std::vector<HANDLE> running(threads, threads + count);
    const ULONGLONG deadline = ::GetTickCount64() + boundMs;
    while (!running.empty()) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        const DWORD size = static_cast<DWORD>(running.size());
        // Not MWMO_WAITALL: that would also wait for input to arrive.
        const DWORD woken = ::MsgWaitForMultipleObjects(size, running.data(), FALSE, left, QS_SENDMESSAGE);
        if (woken < WAIT_OBJECT_0 + size) {
            running.erase(running.begin() + (woken - WAIT_OBJECT_0));
        } else if (woken == WAIT_OBJECT_0 + size) {
            // Sent messages are delivered while a message is looked for; none is removed.
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else {
            return false;
        }
    }
    return true;
}
