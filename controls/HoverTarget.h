#pragma once
// A control that learns the cursor position from its owner: a control only hears about the
// cursor while the cursor is over it, so its owner reports every position it sees (from its
// own hit tests and from a hover timer) and the control drops its hover look once the
// cursor has left. The owner's timer runs only while it may matter: a control that takes a
// look other than its normal one by itself tells its watcher (its owner).
class HoverWatcher {
public:
    // A registered control has just taken its hover or pressed look.
    virtual void OnHoverStarted() = 0;

protected:
    ~HoverWatcher() = default;
};

class HoverTarget {
public:
    // (x, y): the cursor in screen coordinates.
    virtual void RefreshHover(int x, int y) = 0;
    void SetHoverWatcher(HoverWatcher* watcher) { m_watcher = watcher; }

protected:
    ~HoverTarget() = default;
    void HoverStarted()
    {
        if (m_watcher) {
            m_watcher->OnHoverStarted();
        }
    }

private:
    HoverWatcher* m_watcher = nullptr;
};
