#pragma once
// Message maps in the manner of the classic dialog frameworks: each window class lists the
// messages it handles in one table, and the dispatcher walks the table of the class and
// then those of its bases. A handler entry is a small captureless adapter that cracks the
// parameters and calls the member; it is compiled inside the class's own scope, so
// handlers may be protected.
#include <windows.h>

class CWnd;

using AfxMessageHandler = LRESULT (*)(CWnd* self, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT message;   // 0 ends the table
    UINT code;      // WM_COMMAND: notification code
    UINT id;        // WM_COMMAND: control or command id
    AfxMessageHandler handler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*baseMap)();
    const AFX_MSGMAP_ENTRY* entries;
};

#define DECLARE_MESSAGE_MAP()                                   \
public:                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();               \
    const AFX_MSGMAP* GetMessageMap() const override;           \
                                                                \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                              \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                         \
    {                                                                       \
        using ThisClass = theClass;                                         \
        using TheBaseClass = baseClass;                                     \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                   \
            {0, 0, 0, nullptr}};                                            \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                        \
    }

#define AFX_SELF (static_cast<ThisClass*>(self))

// Generic entries.
#define ON_MESSAGE(msg, memberFxn)                                          \
    {msg, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT {             \
         return AFX_SELF->memberFxn(w, l); }},
#define ON_COMMAND(id, memberFxn)                                           \
    {WM_COMMAND, 0, id, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {         \
         AFX_SELF->memberFxn(); return 0; }},
#define ON_CONTROL(code, id, memberFxn)                                     \
    {WM_COMMAND, code, id, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {      \
         AFX_SELF->memberFxn(); return 0; }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// Cracked window messages; the member names follow the usual On<Message> convention.
#define ON_WM_PAINT()                                                       \
    {WM_PAINT, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {            \
         AFX_SELF->OnPaint(); return 0; }},
#define ON_WM_NCPAINT()                                                     \
    {WM_NCPAINT, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {          \
         AFX_SELF->OnNcPaint(); return 0; }},
#define ON_WM_ERASEBKGND()                                                  \
    {WM_ERASEBKGND, 0, 0, [](CWnd* self, WPARAM w, LPARAM) -> LRESULT {     \
         return AFX_SELF->OnEraseBkgnd(reinterpret_cast<HDC>(w)); }},
#define ON_WM_DESTROY()                                                     \
    {WM_DESTROY, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {          \
         AFX_SELF->OnDestroy(); return 0; }},
#define ON_WM_CLOSE()                                                       \
    {WM_CLOSE, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {            \
         AFX_SELF->OnClose(); return 0; }},
#define ON_WM_MOVE()                                                        \
    {WM_MOVE, 0, 0, [](CWnd* self, WPARAM, LPARAM l) -> LRESULT {           \
         AFX_SELF->OnMove(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))); \
         return 0; }},
#define ON_WM_SIZE()                                                        \
    {WM_SIZE, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT {         \
         AFX_SELF->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0; }},
#define ON_WM_NCHITTEST()                                                   \
    {WM_NCHITTEST, 0, 0, [](CWnd* self, WPARAM, LPARAM l) -> LRESULT {      \
         POINT pt{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; \
         return AFX_SELF->OnNcHitTest(pt); }},
#define ON_WM_TIMER()                                                       \
    {WM_TIMER, 0, 0, [](CWnd* self, WPARAM w, LPARAM) -> LRESULT {          \
         AFX_SELF->OnTimer(static_cast<UINT_PTR>(w)); return 0; }},
#define AFX_MOUSE_ENTRY(msg, memberFxn)                                     \
    {msg, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT {             \
         POINT pt{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; \
         AFX_SELF->memberFxn(static_cast<UINT>(w), pt); return 0; }},
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSELEAVE()                                                  \
    {WM_MOUSELEAVE, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {       \
         AFX_SELF->OnMouseLeave(); return 0; }},
#define ON_WM_CAPTURECHANGED()                                              \
    {WM_CAPTURECHANGED, 0, 0, [](CWnd* self, WPARAM, LPARAM l) -> LRESULT {  \
         AFX_SELF->OnCaptureChanged(reinterpret_cast<HWND>(l)); return 0; }},
#define ON_WM_SYSCOMMAND()                                                  \
    {WM_SYSCOMMAND, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT {   \
         AFX_SELF->OnSysCommand(static_cast<UINT>(w), l); return 0; }},
#define ON_WM_QUERYDRAGICON()                                               \
    {WM_QUERYDRAGICON, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {    \
         return reinterpret_cast<LRESULT>(AFX_SELF->OnQueryDragIcon()); }},
#define AFX_SCROLL_ENTRY(msg, memberFxn)                                    \
    {msg, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT {             \
         AFX_SELF->memberFxn(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l)); return 0; }},
#define ON_WM_VSCROLL() AFX_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)
#define ON_WM_HSCROLL() AFX_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
