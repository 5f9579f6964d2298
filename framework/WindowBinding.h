#pragma once
// The one way the program finds what belongs to a window: a window property under a name of
// the binding's own. Properties go with their window, and one window can carry several (a
// control's CWnd and the scroll frame that wraps it), which a window's single user-data slot
// cannot.
#include <windows.h>

template <class Pointer>
class WindowBinding {
public:
    explicit constexpr WindowBinding(const wchar_t* name) : m_name(name) {}

    void Bind(HWND window, Pointer value) const { ::SetPropW(window, m_name, reinterpret_cast<HANDLE>(value)); }
    Pointer Find(HWND window) const { return window ? reinterpret_cast<Pointer>(::GetPropW(window, m_name)) : nullptr; }
    // Removes the binding and returns what it held.
    Pointer Unbind(HWND window) const { return reinterpret_cast<Pointer>(::RemovePropW(window, m_name)); }

private:
    const wchar_t* m_name;
};
