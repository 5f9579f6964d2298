#pragma once
// Keeps a pop-up pair's content above its frame under Wine, whose virtual desktop does not
// always keep an owned window above its owner as Windows does (checked with Wine 8):
//  - re-activating the owner, as when a modal pop-up it owns ends, can raise the owner above
//    the content a moment later without telling either window;
//  - restoring from minimised shows the content before the frame, and the frame's picture is
//    then drawn over the content although the content lies above it in the window order.
// The frame hands every message to this object. It reacts only to what can reorder the pair
// (a change of the frame's place in the window order, its showing, the activation or enabling
// of either window, a restore) by checking the order at once and a few times more while the
// desktop settles; left alone, the pair costs nothing. The frame also lets the pointer through
// to the content wherever it finds itself above it. On Windows the object does nothing.
#include <windows.h>

class WineWindowOrder {
public:
    // Whether the workaround is needed here: only under Wine.
    static bool Needed();

    // From now on keeps `content` above `frame`; both windows exist.
    void Watch(HWND frame, HWND content);
    // Before the frame's window goes.
    void Stop();

    // A message of the frame before the frame handles it: true when it was handled here, with
    // its result in *result.
    bool BeforeFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message of the frame once the frame has handled it.
    void AfterFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A message of the content once the content has handled it.
    void AfterContentMessage(UINT message, LPARAM lParam);

    // How often the order was found wrong and put right.
    int Corrections() const { return m_corrections; }
    // Whether checks are still due (the desktop has not settled since the last change).
    bool Settling() const { return m_checksLeft > 0; }

private:
    // Checks now and over the next moments.
    void Settle();
    void OnCheckTimer();
    void KeepContentAbove();
    void ShowContentAgain();

    HWND m_frame = nullptr;
    HWND m_content = nullptr;
    int m_checksLeft = 0;
    int m_corrections = 0;
    bool m_wasMinimized = false;
};
