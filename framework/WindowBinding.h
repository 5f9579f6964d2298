#pragma once
// The one way the program finds what belongs to a window: a table per binding, keyed by the
// window's handle. One window can carry several bindings (a control's CWnd and the scroll
// frame that wraps it), which a window's single user-data slot cannot. Window properties
// could too, but every look-up of one is a round trip to the window server (about 30 us
// under Wine), and a bound window is looked up for every message it receives. Whoever binds
// a window unbinds it when it goes, at WM_NCDESTROY at the latest.
#include <windows.h>

#include <unordered_map>

template <class Pointer>
class WindowBinding {
public:
    WindowBinding() = default;
    WindowBinding(const WindowBinding&) = delete;
    WindowBinding& operator=(const WindowBinding&) = delete;

    void Bind(HWND window, Pointer value)
    {
        ::AcquireSRWLockExclusive(&m_lock);
        m_values[window] = value;
        ::ReleaseSRWLockExclusive(&m_lock);
    }
    Pointer Find(HWND window) const
    {
        if (!window) {
            return nullptr;
        }
        ::AcquireSRWLockShared(&m_lock);
        const auto found = m_values.find(window);
        const Pointer value = found != m_values.end() ? found->second : nullptr;
        ::ReleaseSRWLockShared(&m_lock);
        return value;
    }
    // Removes the binding and returns what it held.
    Pointer Unbind(HWND window)
    {
        ::AcquireSRWLockExclusive(&m_lock);
        Pointer value = nullptr;
        const auto found = m_values.find(window);
        if (found != m_values.end()) {
            value = found->second;
            m_values.erase(found);
        }
        ::ReleaseSRWLockExclusive(&m_lock);
        return value;
    }

private:
    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    std::unordered_map<HWND, Pointer> m_values;
};
