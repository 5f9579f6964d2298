// Compiled, not run: a class that declares its own OnTimer must list ON_WM_TIMER() in its
// message map. Built with FORGET_THE_ENTRY the map leaves it out, and the build must fail.
#include "framework/CWnd.h"

class TimedWindow : public CWnd {
protected:
    void OnTimer(UINT_PTR id) { ++ticks; }
    int ticks = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TimedWindow, CWnd)
#ifndef FORGET_THE_ENTRY
    ON_WM_TIMER()
#endif
    ON_WM_DESTROY()
END_MESSAGE_MAP()
