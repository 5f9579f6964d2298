#pragma once
// Message maps in the manner of the classic dialog frameworks: each window class lists the
// messages it handles in one table, and the dispatcher walks the table of the class and
// then those of its bases. A handler entry is a small captureless adapter that cracks the
// parameters and calls the member; it is compiled inside the class's own scope, so
// handlers may be protected.
#include <windows.h>

#include <type_traits>

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
        static constexpr AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                   \
            {0, 0, 0, nullptr}};                                            \
        AFX_REQUIRE_ENTRIES_FOR_OWN_HANDLERS()                              \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                        \
    }

// A forgotten entry. Handlers are not virtual: a class that declares OnTimer but leaves
// ON_WM_TIMER() out of its map would get its base's entry, which calls the base's OnTimer.
// END_MESSAGE_MAP refuses to compile that for every cracked handler below: a handler of the
// usual name declared by the class itself needs its entry in the class's own map.
namespace afx_check {

template <class Member>
struct MemberOwner {
    using type = void;
};
template <class C, class R, class... A>
struct MemberOwner<R (C::*)(A...)> {
    using type = C;
};
template <class C, class R, class... A>
struct MemberOwner<R (C::*)(A...) const> {
    using type = C;
};

// `probe` names the handler of a class pointer it is given; true when T declares it itself.
template <class T, class Probe>
constexpr bool DeclaresOwn(Probe)
{
    if constexpr (std::is_invocable_v<Probe, T*>) {
        return std::is_same_v<typename MemberOwner<std::invoke_result_t<Probe, T*>>::type, T>;
    } else {
        return false;
    }
}

constexpr bool MapHandles(const AFX_MSGMAP_ENTRY* entries, UINT message)
{
    for (; entries->message != 0; ++entries) {
        if (entries->message == message) {
            return true;
        }
    }
    return false;
}

}  // namespace afx_check

#define AFX_REQUIRE_ENTRY(msg, memberFxn)                                                         \
    static_assert(!afx_check::DeclaresOwn<ThisClass>(                                              \
                      [](auto* p) -> decltype(&std::remove_pointer_t<decltype(p)>::memberFxn) {    \
                          return nullptr;                                                          \
                      }) ||                                                                        \
                      afx_check::MapHandles(entries, msg),                                         \
                  #memberFxn " is declared here but the message map has no entry for it");

#define AFX_REQUIRE_ENTRIES_FOR_OWN_HANDLERS()                              \
    AFX_REQUIRE_ENTRY(WM_PAINT, OnPaint)                                    \
    AFX_REQUIRE_ENTRY(WM_NCPAINT, OnNcPaint)                                \
    AFX_REQUIRE_ENTRY(WM_ERASEBKGND, OnEraseBkgnd)                          \
    AFX_REQUIRE_ENTRY(WM_DESTROY, OnDestroy)                                \
    AFX_REQUIRE_ENTRY(WM_CLOSE, OnClose)                                    \
    AFX_REQUIRE_ENTRY(WM_MOVE, OnMove)                                      \
    AFX_REQUIRE_ENTRY(WM_SIZE, OnSize)                                      \
    AFX_REQUIRE_ENTRY(WM_NCHITTEST, OnNcHitTest)                            \
    AFX_REQUIRE_ENTRY(WM_TIMER, OnTimer)                                    \
    AFX_REQUIRE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)                        \
    AFX_REQUIRE_ENTRY(WM_LBUTTONUP, OnLButtonUp)                            \
    AFX_REQUIRE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)                    \
    AFX_REQUIRE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)                        \
    AFX_REQUIRE_ENTRY(WM_MOUSEMOVE, OnMouseMove)                            \
    AFX_REQUIRE_ENTRY(WM_MOUSELEAVE, OnMouseLeave)                          \
    AFX_REQUIRE_ENTRY(WM_CAPTURECHANGED, OnCaptureChanged)                  \
    AFX_REQUIRE_ENTRY(WM_SYSCOMMAND, OnSysCommand)                          \
    AFX_REQUIRE_ENTRY(WM_QUERYDRAGICON, OnQueryDragIcon)                    \
    AFX_REQUIRE_ENTRY(WM_VSCROLL, OnVScroll)                                \
    AFX_REQUIRE_ENTRY(WM_HSCROLL, OnHScroll)

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
#define AFX_PLAIN_ENTRY(msg, memberFxn)                                     \
    {msg, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT {                 \
         AFX_SELF->memberFxn(); return 0; }},
#define ON_WM_PAINT() AFX_PLAIN_ENTRY(WM_PAINT, OnPaint)
#define ON_WM_NCPAINT() AFX_PLAIN_ENTRY(WM_NCPAINT, OnNcPaint)
#define ON_WM_ERASEBKGND()                                                  \
    {WM_ERASEBKGND, 0, 0, [](CWnd* self, WPARAM w, LPARAM) -> LRESULT {     \
         return AFX_SELF->OnEraseBkgnd(reinterpret_cast<HDC>(w)); }},
#define ON_WM_DESTROY() AFX_PLAIN_ENTRY(WM_DESTROY, OnDestroy)
#define ON_WM_CLOSE() AFX_PLAIN_ENTRY(WM_CLOSE, OnClose)
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
#define ON_WM_MOUSELEAVE() AFX_PLAIN_ENTRY(WM_MOUSELEAVE, OnMouseLeave)
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
