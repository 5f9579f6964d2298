#pragma once
// CWnd: a C++ object bound to one window. The object is found from its handle through a
// window binding (framework/WindowBinding.h); it is bound when the window is created through
// CreateEx/CDialog or when an existing window is subclassed, and unbound at WM_NCDESTROY.
#include <windows.h>

#include <string>

#include "framework/MessageMap.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to a window, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creation. A class name of our own (see RegisterClassOnce) or a system class.
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    // The same under a parent that need not have an object of ours.
    BOOL CreateExUnder(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT id, LPVOID param = nullptr);
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Registers (once per process) a window class whose procedure is the default one.
    static LPCWSTR RegisterClassOnce(LPCWSTR className, UINT classStyle = 0, HCURSOR cursor = nullptr,
                                     HBRUSH background = nullptr);

    // Binding an existing window: the window keeps its class behaviour, messages reach this
    // object's message map first.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    BOOL DestroyWindow();

    // Message handling.
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();
    // Default processing of the message being handled right now.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Thin wrappers over the platform calls the program uses.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void ClientToScreen(POINT* pt) const { ::ClientToScreen(m_hWnd, pt); }
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(POINT* pt) const { ::ScreenToClient(m_hWnd, pt); }
    void ScreenToClient(RECT* rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE)
    {
        MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetWindowText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetOwner() const { return ::GetWindow(m_hWnd, GW_OWNER); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    HICON SetIcon(HICON icon, BOOL big)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(icon)));
    }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    // Centres over the owner when it is visible and not minimised, otherwise in the work area.
    void CenterWindow();

protected:
    // Called after WM_NCDESTROY has unbound the window; the object may delete itself here.
    virtual void PostNcDestroy() {}

    // Default handlers: each passes its message to the default processing.
    void OnPaint() { Default(); }
    void OnNcPaint() { Default(); }
    // WM_NCPAINT of a window our code draws wholly: the platform paints the frame only when
    // there is one. Under Wine its handler asks the window server about the displays even
    // for a window without a frame, for every paint.
    void PaintFrameIfAny();
    BOOL OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
    void OnDestroy() { Default(); }
    void OnClose() { Default(); }
    void OnMove(int, int) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    LRESULT OnNcHitTest(POINT) { return Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnLButtonDown(UINT, POINT) { Default(); }
    void OnLButtonUp(UINT, POINT) { Default(); }
    void OnLButtonDblClk(UINT, POINT) { Default(); }
    void OnMButtonDown(UINT, POINT) { Default(); }
    void OnMouseMove(UINT, POINT) { Default(); }
    void OnMouseLeave() { Default(); }
    void OnCaptureChanged(HWND) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnVScroll(UINT, UINT, HWND) { Default(); }
    void OnHScroll(UINT, UINT, HWND) { Default(); }

    // Prepares the binding of the next window this thread creates to `wnd`.
    static void HookWindowCreate(CWnd* wnd, LPCWSTR expectedClass);
    static bool UnhookWindowCreate();

    WNDPROC m_pfnSuper = nullptr;

private:
    friend class CDialog;
    void Attach(HWND hwnd);
    void Detach();
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
};
