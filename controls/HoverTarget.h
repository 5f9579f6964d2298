#pragma once
// A control that learns the cursor position from its owner: a control only hears about the
// cursor while the cursor is over it, so its owner reports every position it sees (from its
// own hit tests and from a hover timer) and the control drops its hover look once the
// cursor has left.
class HoverTarget {
public:
    // (x, y): the cursor in screen coordinates.
    virtual void RefreshHover(int x, int y) = 0;

protected:
    ~HoverTarget() = default;
};
