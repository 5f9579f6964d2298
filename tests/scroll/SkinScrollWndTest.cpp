// The skinned scroll frame around real controls: placement, the control's own bar hidden,
// following the control's scroll state, forwarding, and unwrapping on destruction.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/CSkinScrollWnd.h"
#include "framework/CDialog.h"
#include "framework/CRichEditCtrl.h"
#include "tests/scroll/ScrollTestIds.h"
#include "tests/scroll/ScrollTestSupport.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

// A control object bound to the wrapped control (as data exchange binds the agreement's
// rich edit): remembers the parent it had when its window ended.
class WatchedControl : public CRichEditCtrl {
public:
    bool sawNcDestroy = false;
    HWND parentAtNcDestroy = nullptr;
    int setTextSeen = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCDESTROY) {
            sawNcDestroy = true;
            parentAtNcDestroy = ::GetParent(m_hWnd);
        }
        if (message == WM_SETTEXT) {
            ++setTextSeen;
        }
        return CRichEditCtrl::WindowProc(message, wParam, lParam);
    }
};

class ScrollDialog : public CDialog {
public:
    ScrollDialog(UINT templateId, int controlId, bool bindControl)
        : m_controlId(controlId), m_bindControl(bindControl)
    {
        m_templateId = templateId;
    }
    WatchedControl control;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (m_bindControl) {
            DDX_Control(pDX, m_controlId, control);
        }
    }

private:
    int m_controlId;
    bool m_bindControl;
};

std::wstring Lines(int count)
{
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += L"第" + std::to_wstring(i + 1) + L"行 line of text\r\n";
    }
    return text;
}

SCROLLINFO ControlInfo(HWND control)
{
    SCROLLINFO info{sizeof(info), SIF_ALL};
    ::GetScrollInfo(control, SB_VERT, &info);
    return info;
}

bool SameState(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

class SkinScrollWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::LoadLibraryW(L"riched20.dll");
        ParkPointer(Waiting::Pump);
        skin = LoadSkin();
        ASSERT_TRUE(skin);
        ASSERT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    }

    void TearDown() override
    {
        if (dialog && dialog->m_hWnd) {
            dialog->DestroyWindow();
        }
        dialog.reset();
        EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    }

    // Makes the dialog and returns its control. Template controls with WS_BORDER also get a
    // client edge from the dialog manager; an EDIT is made a plain bordered edit here (Wine's
    // edit class also takes WS_BORDER off its own style at creation and draws it itself).
    HWND Open(UINT templateId, int controlId, bool bindControl = true)
    {
        m_controlId = controlId;
        dialog = std::make_unique<ScrollDialog>(templateId, controlId, bindControl);
        EXPECT_TRUE(dialog->Create(templateId, nullptr));
        ::SetWindowPos(dialog->m_hWnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        dialog->ShowWindow(SW_SHOW);
        HWND control = dialog->GetDlgItem(controlId);
        wchar_t className[32] = L"";
        ::GetClassNameW(control, className, 32);
        if (lstrcmpiW(className, L"Edit") == 0) {
            ::SetWindowLongW(control, GWL_STYLE, ::GetWindowLongW(control, GWL_STYLE) | WS_BORDER);
            ::SetWindowLongW(control, GWL_EXSTYLE, ::GetWindowLongW(control, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
            ::SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        PumpFor(30);
        return control;
    }

    // The frame took the control's id.
    HWND Frame() const { return dialog->GetDlgItem(m_controlId); }

    HWND OpenAndWrap(UINT templateId, int controlId, float scale = 1.0f, bool bindControl = true)
    {
        HWND control = Open(templateId, controlId, bindControl);
        frameObject = WrapWithSkinScroll(control, skin.Get(), scale, 0);
        EXPECT_NE(frameObject, nullptr);
        PumpFor(50);
        return control;
    }

    HWND VerticalBar() const { return ::GetDlgItem(Frame(), CSkinScrollWnd::kVerticalBarId); }
    HWND HorizontalBar() const { return ::GetDlgItem(Frame(), CSkinScrollWnd::kHorizontalBarId); }
    HWND Limit() const { return ::GetDlgItem(Frame(), CSkinScrollWnd::kLimitId); }

    bool BarFollows(HWND control)
    {
        return PumpUntil([&] { return SameState(BarInfo(VerticalBar()), ControlInfo(control)); }, 1500);
    }

    BitmapHolder skin;
    std::unique_ptr<ScrollDialog> dialog;
    CSkinScrollWnd* frameObject = nullptr;
    int m_controlId = 0;
};

// Checks the frame's place and the layout of LIMIT, bar and control for a vertical bar w wide.
// `border` tells whether the control had WS_BORDER (the frame takes it over), `edge` the size
// of the client edge it had, which wrapping takes off the control.
void ExpectWrappedLayout(HWND dialogHwnd, HWND control, HWND frame, const RECT& before, int w, float scale,
                         bool border = true, int edge = 0)
{
    EXPECT_EQ(WindowText(frame), L"SkinScrollBarFrame");
    const RECT frameRect = RectIn(frame, dialogHwnd);
    EXPECT_TRUE(::EqualRect(&frameRect, &before));
    EXPECT_EQ((::GetWindowLongW(frame, GWL_STYLE) & WS_BORDER) != 0, border);
    EXPECT_FALSE(::GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(::GetWindowLongW(control, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(::GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    HWND limit = ::GetParent(control);
    EXPECT_EQ(WindowText(limit), L"LIMIT");
    EXPECT_EQ(::GetDlgCtrlID(limit), 200);
    EXPECT_EQ(::GetParent(limit), frame);

    const RECT client = ClientRectOf(frame);
    const RECT limitRect = RectIn(limit, frame);
    EXPECT_EQ(limitRect.left, 0);
    EXPECT_EQ(limitRect.right, client.right - w);
    EXPECT_EQ(limitRect.bottom, client.bottom);

    const RECT controlRect = RectIn(control, limit);
    EXPECT_EQ(controlRect.left, 0);
    // The frame's client size, less the edge, plus 4 pixels in width.
    EXPECT_EQ(controlRect.right - controlRect.left, client.right - edge + static_cast<int>(scale * 4));
    EXPECT_EQ(controlRect.bottom - controlRect.top, client.bottom - edge);

    // The control's own strip is w wide and lies wholly beyond the LIMIT window's edge.
    RECT controlClient = ClientRectOf(control);
    ::MapWindowPoints(control, limit, reinterpret_cast<POINT*>(&controlClient), 2);
    EXPECT_EQ(controlRect.right - controlClient.right, w);
    EXPECT_GE(controlClient.right, limitRect.right);

    HWND vbar = ::GetDlgItem(frame, 101);
    EXPECT_TRUE(::GetWindowLongW(vbar, GWL_STYLE) & WS_VISIBLE);
    const RECT barRect = RectIn(vbar, frame);
    EXPECT_EQ(barRect.right - barRect.left, w);
    EXPECT_EQ(barRect.left, controlClient.right);
    EXPECT_EQ(barRect.bottom, controlRect.bottom);
    EXPECT_FALSE(::GetWindowLongW(::GetDlgItem(frame, 100), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(SkinScrollWndTest, WrappedEditGivesTheFrameItsPlaceIdAndBorderAndHidesItsOwnBar)
{
    HWND control = Open(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    const RECT before = RectIn(control, dialog->m_hWnd);
    frameObject = WrapWithSkinScroll(control, skin.Get(), 1.0f, 0);
    ASSERT_NE(frameObject, nullptr);
    PumpFor(50);

    HWND frame = Frame();
    ASSERT_NE(frame, control);
    EXPECT_EQ(frame, frameObject->m_hWnd);
    EXPECT_EQ(frameObject->GetScrollWidth(), 13);
    ExpectWrappedLayout(dialog->m_hWnd, control, frame, before, 13, 1.0f);
    EXPECT_EQ(WrappingFrame(control), frameObject);

    // Wrapping twice keeps the one frame.
    EXPECT_EQ(WrapWithSkinScroll(control, skin.Get(), 1.0f, 0), nullptr);
    EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 1);
}

TEST_F(SkinScrollWndTest, ScaleWidensTheBars)
{
    HWND control = OpenAndWrap(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT, 1.25f);
    EXPECT_EQ(frameObject->GetScrollWidth(), 16);
    EXPECT_EQ(ClientRectOf(VerticalBar()).right, 16);
    EXPECT_EQ(RectIn(Limit(), Frame()).right, ClientRectOf(Frame()).right - 16);
    EXPECT_EQ(RectIn(control, Limit()).right, ClientRectOf(Frame()).right + 5);
}

TEST_F(SkinScrollWndTest, ShortTextDisablesTheBarAndLongTextEnablesIt)
{
    HWND control = OpenAndWrap(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    ::SetWindowTextW(control, L"短");
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowEnabled(VerticalBar()); }, 1500));
    ::SetWindowTextW(control, Lines(40).c_str());
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(VerticalBar()) != FALSE; }, 1500));
    EXPECT_TRUE(BarFollows(control));
    EXPECT_GT(BarInfo(VerticalBar()).nMax, 30);
    ::SetWindowTextW(control, L"短");
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowEnabled(VerticalBar()); }, 1500));
}

TEST_F(SkinScrollWndTest, WheelScrollMovesTheSkinnedThumb)
{
    HWND control = OpenAndWrap(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    ::SetWindowTextW(control, Lines(60).c_str());
    ASSERT_TRUE(BarFollows(control));
    ASSERT_EQ(BarInfo(VerticalBar()).nPos, 0);

    POINT pt{20, 20};
    ::ClientToScreen(control, &pt);
    ::SendMessageW(control, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    ASSERT_GT(ControlInfo(control).nPos, 0);
    // The wheel erases nothing: the frame's timer brings the bar along.
    EXPECT_TRUE(PumpUntil([&] { return BarInfo(VerticalBar()).nPos == ControlInfo(control).nPos; }, 1000));
}

// Hidden, the frame's resynchronisation rests; shown again, it brings the bar along again.
TEST_F(SkinScrollWndTest, ResynchronisationRestsWhileHiddenAndResumesOnceShown)
{
    HWND control = OpenAndWrap(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    ::SetWindowTextW(control, Lines(60).c_str());
    ASSERT_TRUE(BarFollows(control));
    dialog->ShowWindow(SW_HIDE);
    PumpFor(2 * CSkinScrollWnd::kSyncMs);
    EXPECT_FALSE(::KillTimer(Frame(), CSkinScrollWnd::kSyncTimer)) << "the timer still runs while hidden";

    dialog->ShowWindow(SW_SHOW);
    PumpFor(50);
    POINT pt{20, 20};
    ::ClientToScreen(control, &pt);
    ::SendMessageW(control, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    ASSERT_GT(ControlInfo(control).nPos, 0);
    EXPECT_TRUE(PumpUntil([&] { return BarInfo(VerticalBar()).nPos == ControlInfo(control).nPos; }, 1000));
}

TEST_F(SkinScrollWndTest, SkinnedBarScrollsTheControl)
{
    HWND control = OpenAndWrap(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    ::SetWindowTextW(control, Lines(60).c_str());
    ASSERT_TRUE(BarFollows(control));
    HWND vbar = VerticalBar();
    const int length = ClientRectOf(vbar).bottom;

    // One line down by the arrow.
    ::SendMessageW(vbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, length - 3));
    ::SendMessageW(vbar, WM_LBUTTONUP, 0, MAKELPARAM(6, length - 3));
    EXPECT_EQ(::SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    EXPECT_EQ(BarInfo(vbar).nPos, 1);

    // A drag scrolls live while the bar keeps its own track position, the release settles.
    auto* barObject = dynamic_cast<CSkinScrollBar*>(CWnd::FromHandlePermanent(vbar));
    ASSERT_NE(barObject, nullptr);
    const RECT thumb = barObject->GetPartRect(SB_THUMBTRACK);
    const int grip = (thumb.top + thumb.bottom) / 2;
    ::SendMessageW(vbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, grip));
    ::SendMessageW(vbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, grip + 30));
    const int tracked = BarInfo(vbar).nTrackPos;
    EXPECT_GT(tracked, 1);
    EXPECT_EQ(::SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0), tracked);
    PumpFor(600);  // the frame's timer leaves a dragging bar alone
    EXPECT_EQ(BarInfo(vbar).nTrackPos, tracked);
    EXPECT_EQ(BarInfo(vbar).nPos, 1);
    ::SendMessageW(vbar, WM_LBUTTONUP, 0, MAKELPARAM(6, grip + 30));
    EXPECT_EQ(BarInfo(vbar).nPos, tracked);
    EXPECT_EQ(ControlInfo(control).nPos, tracked);
}

TEST_F(SkinScrollWndTest, DestroyingTheDialogUnwrapsAndFreesTheFrame)
{
    HWND control = OpenAndWrap(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    ASSERT_EQ(dialog->control.m_hWnd, control);  // bound before the wrap, as data exchange does
    ASSERT_EQ(CSkinScrollWnd::LiveFrames(), 1);
    HWND dialogHwnd = dialog->m_hWnd;

    dialog->DestroyWindow();
    EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    EXPECT_FALSE(::IsWindow(control));
    // The control's own object saw the end of its window there, back under the dialog.
    EXPECT_TRUE(dialog->control.sawNcDestroy);
    EXPECT_EQ(dialog->control.parentAtNcDestroy, dialogHwnd);
    EXPECT_EQ(dialog->control.m_hWnd, nullptr);
}

TEST_F(SkinScrollWndTest, UnwrapPutsTheControlBackAndRestoresItsProcedure)
{
    HWND control = Open(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    const LONG_PTR procedure = ::GetWindowLongPtrW(control, GWLP_WNDPROC);
    frameObject = WrapWithSkinScroll(control, skin.Get(), 1.0f, 0);
    ASSERT_NE(frameObject, nullptr);
    PumpFor(30);
    const RECT frameRect = RectIn(Frame(), dialog->m_hWnd);
    HWND frame = Frame();

    EXPECT_TRUE(UnwrapSkinScroll(control));
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    EXPECT_EQ(::GetParent(control), dialog->m_hWnd);
    const RECT back = RectIn(control, dialog->m_hWnd);
    EXPECT_TRUE(::EqualRect(&back, &frameRect));
    EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_WNDPROC), procedure);
    EXPECT_EQ(WrappingFrame(control), nullptr);
    EXPECT_TRUE(UnwrapSkinScroll(control));  // not wrapped: nothing to do

    // The bound object still sees the control's messages.
    const int seen = dialog->control.setTextSeen;
    ::SetWindowTextW(control, L"again");
    EXPECT_EQ(dialog->control.setTextSeen, seen + 1);
    EXPECT_EQ(WindowText(control), L"again");
}

TEST_F(SkinScrollWndTest, ObjectBoundAfterTheWrapKeepsItsLayerThroughUnwrapAndDestruction)
{
    HWND control = OpenAndWrap(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT, 1.0f, false);
    WatchedControl& late = dialog->control;
    ASSERT_TRUE(late.SubclassWindow(control));

    // The wrap's procedure sits below the object's: unwrapping must not cut the object off.
    EXPECT_TRUE(UnwrapSkinScroll(control));
    EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    ::SetWindowTextW(control, L"still edited");
    EXPECT_EQ(late.setTextSeen, 1);
    EXPECT_EQ(WindowText(control), L"still edited");

    // Wrapped again, the same procedure serves the new frame.
    frameObject = WrapWithSkinScroll(control, skin.Get(), 1.0f, 0);
    ASSERT_NE(frameObject, nullptr);
    ::SetWindowTextW(control, Lines(40).c_str());
    EXPECT_TRUE(BarFollows(control));

    HWND dialogHwnd = dialog->m_hWnd;
    dialog->DestroyWindow();
    EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    EXPECT_TRUE(late.sawNcDestroy);
    EXPECT_EQ(late.parentAtNcDestroy, dialogHwnd);
    EXPECT_EQ(late.m_hWnd, nullptr);
}

TEST_F(SkinScrollWndTest, RichEditIsWrappedFollowedAndFreedTheSameWay)
{
    HWND control = Open(IDD_SCROLL_RICH_DIALOG, IDC_SCROLL_RICH);
    ASSERT_EQ(dialog->control.m_hWnd, control);
    const RECT before = RectIn(control, dialog->m_hWnd);
    // As the dialog manager leaves it: a client edge instead of WS_BORDER.
    const bool border = (::GetWindowLongW(control, GWL_STYLE) & WS_BORDER) != 0;
    const bool clientEdge = (::GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    frameObject = WrapWithSkinScroll(control, skin.Get(), 1.0f, 0);
    ASSERT_NE(frameObject, nullptr);
    PumpFor(50);
    ExpectWrappedLayout(dialog->m_hWnd, control, Frame(), before, 13, 1.0f, border,
                        clientEdge ? 2 * ::GetSystemMetrics(SM_CXEDGE) : 0);

    ::SetWindowTextW(control, L"短");
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowEnabled(VerticalBar()); }, 1500));
    ::SetWindowTextW(control, Lines(60).c_str());
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(VerticalBar()) != FALSE; }, 1500));
    EXPECT_TRUE(BarFollows(control));

    POINT pt{20, 20};
    ::ClientToScreen(control, &pt);
    ::SendMessageW(control, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    ASSERT_GT(ControlInfo(control).nPos, 0);
    EXPECT_TRUE(PumpUntil([&] { return BarInfo(VerticalBar()).nPos == ControlInfo(control).nPos; }, 1000));

    HWND dialogHwnd = dialog->m_hWnd;
    dialog->DestroyWindow();
    EXPECT_EQ(CSkinScrollWnd::LiveFrames(), 0);
    EXPECT_TRUE(dialog->control.sawNcDestroy);
    EXPECT_EQ(dialog->control.parentAtNcDestroy, dialogHwnd);
}

TEST_F(SkinScrollWndTest, MissingSkinGivesBarsOfNoSize)
{
    HWND control = Open(IDD_SCROLL_EDIT_DIALOG, IDC_SCROLL_EDIT);
    frameObject = WrapWithSkinScroll(control, nullptr, 1.0f, 0);
    ASSERT_NE(frameObject, nullptr);
    ::SetWindowTextW(control, Lines(40).c_str());
    PumpFor(100);
    EXPECT_EQ(frameObject->GetScrollWidth(), 0);
    EXPECT_EQ(ClientRectOf(VerticalBar()).right, 0);
    EXPECT_EQ(ClientRectOf(HorizontalBar()).bottom, 0);
    // No strip is left for the control's own bar either: all of it is text.
    EXPECT_EQ(RectIn(Limit(), Frame()).right, ClientRectOf(Frame()).right);
    EXPECT_EQ(ClientRectOf(control).right, RectIn(control, Limit()).right);
    ::RedrawWindow(dialog->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::SendMessageW(control, WM_VSCROLL, SB_PAGEDOWN, 0);
    PumpFor(600);
    EXPECT_TRUE(SameState(BarInfo(VerticalBar()), ControlInfo(control)));
}

}  // namespace
