#include "framework/CWnd.h"

#include <vector>

#include "framework/WindowBinding.h"

namespace {

// Where a window's CWnd is kept.
WindowBinding<CWnd*> g_objects;

// The message being handled on this thread, for Default().
struct CurrentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CurrentMessage t_current{};

// The window creation that CreateEx or CDialog has announced on this thread.
struct PendingCreation {
    CWnd* wnd = nullptr;
    LPCWSTR expectedClass = nullptr;  // null: bind the first window created
    HHOOK hook = nullptr;
};
thread_local PendingCreation t_pending;

bool ClassMatches(LPCWSTR created, LPCWSTR expected)
{
    if (!expected) {
        // Wine may create a thread's default IME window first; that one is not ours.
        return IS_INTRESOURCE(created) || lstrcmpiW(created, L"IME") != 0;
    }
    if (IS_INTRESOURCE(expected) || IS_INTRESOURCE(created)) {
        return created == expected;
    }
    return lstrcmpiW(created, expected) == 0;
}

}  // namespace

CWnd::~CWnd()
{
    // A window must not outlive its object: its messages would reach freed memory.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd) {
        return nullptr;
    }
    return g_objects.Find(hwnd);
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    g_objects.Bind(hwnd, this);
}

void CWnd::Detach()
{
    if (m_hWnd) {
        g_objects.Unbind(m_hWnd);
    }
    m_hWnd = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandlePermanent(hwnd)) {
        return FALSE;
    }
    Attach(hwnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd && m_pfnSuper) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    Detach();
    return hwnd;
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pending.wnd) {
        auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (ClassMatches(create->lpcs->lpszClass, t_pending.expectedClass)) {
            CWnd* wnd = t_pending.wnd;
            t_pending.wnd = nullptr;
            wnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CWnd::HookWindowCreate(CWnd* wnd, LPCWSTR expectedClass)
{
    t_pending.wnd = wnd;
    t_pending.expectedClass = expectedClass;
    if (!t_pending.hook) {
        t_pending.hook = ::SetWindowsHookExW(WH_CBT, &CWnd::CreationHook, nullptr, ::GetCurrentThreadId());
    }
}

bool CWnd::UnhookWindowCreate()
{
    const bool bound = t_pending.wnd == nullptr;
    t_pending.wnd = nullptr;
    if (t_pending.hook) {
        ::UnhookWindowsHookEx(t_pending.hook);
        t_pending.hook = nullptr;
    }
    return bound;
}

LPCWSTR CWnd::RegisterClassOnce(LPCWSTR className, UINT classStyle, HCURSOR cursor, HBRUSH background)
{
    WNDCLASSEXW existing{sizeof(existing)};
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!::GetClassInfoExW(instance, className, &existing)) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.style = classStyle;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        ::RegisterClassExW(&wc);
    }
    return className;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param)
{
    return CreateExUnder(exStyle, className, windowName, style, rect, parent ? parent->m_hWnd : nullptr, id, param);
}

BOOL CWnd::CreateExUnder(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    HWND parentHwnd, UINT id, LPVOID param)
{
    HookWindowCreate(this, className);
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND hwnd = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parentHwnd, menuOrId,
                                  ::GetModuleHandleW(nullptr), param);
    UnhookWindowCreate();
    if (hwnd && !m_hWnd) {
        // Creation succeeded but the hook did not see it (should not happen): bind now.
        SubclassWindow(hwnd);
    }
    return hwnd != nullptr;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const UINT code = HIWORD(wParam);
    const UINT id = LOWORD(wParam);
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->message; ++entry) {
            if (entry->message != message) {
                continue;
            }
            if (message == WM_COMMAND && (entry->id != id || entry->code != code)) {
                continue;
            }
            *result = entry->handler(this, wParam, lParam);
            return true;
        }
    }
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void CWnd::PaintFrameIfAny()
{
    RECT window;
    RECT client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    if (window.right - window.left != client.right || window.bottom - window.top != client.bottom) {
        Default();
    }
}

LRESULT CWnd::Default()
{
    const CurrentMessage& msg = t_current;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const CurrentMessage saved = t_current;
    t_current = {hwnd, message, wParam, lParam};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_current = saved;
    if (message == WM_NCDESTROY) {
        // The window is gone: give it back its class procedure and unbind the object.
        if (wnd->m_pfnSuper) {
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
        }
        wnd->m_pfnSuper = nullptr;
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

std::wstring CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return std::wstring(buffer.data());
}

void CWnd::ClientToScreen(RECT* rect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(RECT* rect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::CenterWindow()
{
    HWND center = (GetStyle() & WS_CHILD) ? GetParent() : GetOwner();
    if (center && (!::IsWindowVisible(center) || ::IsIconic(center))) {
        center = nullptr;
    }
    MONITORINFO monitor{sizeof(monitor)};
    ::GetMonitorInfoW(::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT around = area;
    if (center) {
        ::GetWindowRect(center, &around);
    }
    RECT mine;
    GetWindowRect(&mine);
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    int left = (around.left + around.right) / 2 - width / 2;
    int top = (around.top + around.bottom) / 2 - height / 2;
    // Keep the window inside the work area.
    if (left + width > area.right) left = area.right - width;
    if (left < area.left) left = area.left;
    if (top + height > area.bottom) top = area.bottom - height;
    if (top < area.top) top = area.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
