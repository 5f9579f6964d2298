#pragma once
#include <windows.h>

// Waits until every one of `threads` has ended or `boundMs` has passed, delivering meanwhile
// the messages other threads send to this one: a worker that is sending to a window of this
// thread would otherwise wait for it while it waits for the worker. True when all ended.
bool WaitForThreads(const HANDLE* threads, DWORD count, DWORD boundMs);
