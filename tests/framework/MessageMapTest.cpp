// Message maps, binding and subclassing on real windows.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/CWnd.h"

namespace {

constexpr UINT WM_TEST_BOTH = WM_APP + 1;
constexpr UINT WM_TEST_BASE_ONLY = WM_APP + 2;
constexpr UINT WM_TEST_DERIVED_ONLY = WM_APP + 3;
constexpr UINT WM_TEST_NOBODY = WM_APP + 4;
constexpr UINT kButtonId = 77;

class BaseWindow : public CWnd {
public:
    std::vector<std::string> calls;
    bool ncDestroyed = false;

protected:
    LRESULT OnBoth(WPARAM w, LPARAM) { calls.push_back("base-both"); return 100 + static_cast<LRESULT>(w); }
    LRESULT OnBaseOnly(WPARAM, LPARAM) { calls.push_back("base-only"); return 200; }
    void OnButtonClicked() { calls.push_back("base-clicked"); }
    void PostNcDestroy() override { ncDestroyed = true; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
    ON_MESSAGE(WM_TEST_BOTH, OnBoth)
    ON_MESSAGE(WM_TEST_BASE_ONLY, OnBaseOnly)
    ON_BN_CLICKED(kButtonId, OnButtonClicked)
END_MESSAGE_MAP()

class DerivedWindow : public BaseWindow {
protected:
    LRESULT OnBoth(WPARAM w, LPARAM) { calls.push_back("derived-both"); return 300 + static_cast<LRESULT>(w); }
    LRESULT OnDerivedOnly(WPARAM, LPARAM) { calls.push_back("derived-only"); return 400; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
    ON_MESSAGE(WM_TEST_BOTH, OnBoth)
    ON_MESSAGE(WM_TEST_DERIVED_ONLY, OnDerivedOnly)
END_MESSAGE_MAP()

RECT Rect(int left, int top, int right, int bottom)
{
    return RECT{left, top, right, bottom};
}

LPCWSTR TestClass()
{
    return CWnd::RegisterClassOnce(L"VeskarTestWindow");
}

// A static control whose text changes are seen first by the object, then done by the control.
class TextSpy : public CWnd {
public:
    std::vector<std::wstring> seen;

protected:
    LRESULT OnSetText(WPARAM, LPARAM l)
    {
        seen.emplace_back(reinterpret_cast<LPCWSTR>(l));
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TextSpy, CWnd)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

}  // namespace

TEST(MessageMap, DerivedEntriesWinAndBaseEntriesAreChained)
{
    DerivedWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TestClass(), L"t", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));

    EXPECT_EQ(wnd.SendMessage(WM_TEST_BOTH, 5), 305);
    EXPECT_EQ(wnd.SendMessage(WM_TEST_BASE_ONLY), 200);
    EXPECT_EQ(wnd.SendMessage(WM_TEST_DERIVED_ONLY), 400);
    EXPECT_EQ(wnd.SendMessage(WM_TEST_NOBODY), 0);  // default window procedure
    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"derived-both", "base-only", "derived-only"}));
}

TEST(MessageMap, CommandEntriesMatchIdAndNotification)
{
    BaseWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TestClass(), L"t", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId + 1, BN_CLICKED));  // other control
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_DOUBLECLICKED));  // other notification
    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"base-clicked"}));
}

TEST(MessageMap, ClickOnRealChildButtonReachesOwnerMap)
{
    BaseWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TestClass(), L"t", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 40, 20,
                                    wnd.m_hWnd, reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"base-clicked"}));
}

TEST(Binding, ObjectIsFoundFromHandleUntilDestroyed)
{
    BaseWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TestClass(), L"t", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    HWND hwnd = wnd.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &wnd);

    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.ncDestroyed);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);

    // A child that goes with its parent, destroyed from outside the framework, is unbound
    // too; the look-up answers on any thread.
    BaseWindow parent;
    BaseWindow child;
    ASSERT_TRUE(parent.CreateEx(0, TestClass(), L"p", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(child.CreateEx(0, TestClass(), L"c", WS_CHILD, Rect(0, 0, 10, 10), &parent, 0));
    const HWND childWindow = child.m_hWnd;
    CWnd* foundElsewhere = nullptr;
    std::thread([&] { foundElsewhere = CWnd::FromHandlePermanent(childWindow); }).join();
    EXPECT_EQ(foundElsewhere, &child);
    ::DestroyWindow(parent.m_hWnd);
    EXPECT_TRUE(child.ncDestroyed);
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(childWindow), nullptr);
}

TEST(Binding, DeletingTheObjectDestroysItsWindow)
{
    HWND hwnd = nullptr;
    {
        BaseWindow wnd;
        ASSERT_TRUE(wnd.CreateEx(0, TestClass(), L"t", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
        hwnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(Subclassing, ControlKeepsItsBehaviourAndObjectSeesMessagesFirst)
{
    HWND parent = ::CreateWindowExW(0, TestClass(), L"p", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                    nullptr);
    HWND label = ::CreateWindowExW(0, L"STATIC", L"before", WS_CHILD, 0, 0, 60, 20, parent, nullptr, nullptr,
                                   nullptr);
    TextSpy spy;
    ASSERT_TRUE(spy.SubclassWindow(label));
    EXPECT_FALSE(spy.SubclassWindow(label)) << "a window is bound to one object only";

    spy.SetWindowText(L"after");
    EXPECT_EQ(spy.seen, (std::vector<std::wstring>{L"after"}));
    EXPECT_EQ(spy.GetWindowText(), L"after") << "Default() must reach the control's own procedure";

    EXPECT_EQ(spy.UnsubclassWindow(), label);
    ::SetWindowTextW(label, L"unbound");
    EXPECT_EQ(spy.seen.size(), 1u);
    ::DestroyWindow(parent);
}

TEST(Subclassing, SystemClassCreatedThroughCreateExIsBound)
{
    TextSpy spy;
    ASSERT_TRUE(spy.CreateEx(0, L"STATIC", L"x", WS_POPUP, Rect(0, 0, 20, 20), nullptr, 0));
    EXPECT_EQ(CWnd::FromHandlePermanent(spy.m_hWnd), &spy);
    spy.SetWindowText(L"y");
    EXPECT_EQ(spy.seen, (std::vector<std::wstring>{L"y"}));
    EXPECT_EQ(spy.GetWindowText(), L"y");
}
