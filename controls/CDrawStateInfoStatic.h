#pragma once
#include <atomic>

#include "controls/CSkinStatic.h"

// A drawn busy text with one to three dots appended, cycled by a worker thread.
//
// Ownership across the thread boundary: the control owns the worker. The worker touches only
// the dot phase, the stop flag and event (all owned by the control) and invalidates the
// window whose handle it was given; it never calls into the control otherwise. StopAnimation
// wakes a sleeping worker at once and waits for it to end, and so does the destructor, so the
// worker never outlives the control.
class CDrawStateInfoStatic : public CSkinStatic {
public:
    CDrawStateInfoStatic();
    ~CDrawStateInfoStatic() override;

    void SetTextColor(COLORREF colour);
    // Starts the dot thread (once; the animation is not restarted after a stop).
    void StartAnimation();
    // Ends the thread (waking it if it sleeps), clears the dots and repaints.
    void StopAnimation();
    int GetDotPhase() const { return m_dotPhase; }
    bool IsAnimationThreadRunning() const;
    DWORD GetAnimationThreadId() const { return m_thread.Valid() ? ::GetThreadId(m_thread.Get()) : 0; }

    // Its other align modes; any other mode is kAlignOneLine.
    static constexpr int kAlignOneLineRight = 3;
    static constexpr int kAlignWrapped = 4;
    static constexpr int kAlignWrappedCentred = 5;
    static constexpr int kAlignWrappedRight = 6;

    // DrawText flags of an align mode.
    static UINT AlignFlags(int mode);
    // The base text followed by `phase` dots.
    static std::wstring TextWithDots(const std::wstring& text, int phase);

protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    static DWORD WINAPI AnimationThread(LPVOID param);
    void Animate(HWND window);
    void EndWorker();

    BrushHolder m_ground;
    COLORREF m_textColour = RGB(0, 0, 0);
    std::atomic<int> m_dotPhase{0};
    std::atomic<int> m_stop{0};
    UniqueHandle m_stopEvent;
    UniqueHandle m_thread;
    HWND m_animatedWindow = nullptr;  // set before the worker starts, read by it only
};
