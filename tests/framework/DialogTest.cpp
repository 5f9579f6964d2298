// Dialogs on real windows: modal results, the key filter, centring, data exchange, modeless.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/CButton.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"

using namespace testsupport;

namespace {

constexpr UINT WM_TEST_RUN = WM_APP + 20;

std::vector<std::string> g_events;

// The edit control of the test dialog, bound by data exchange; it records what it sees.
class RecordingEdit : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            g_events.push_back("edit-pretranslate");
        }
        return FALSE;
    }
};

class RecordingButton : public CButton {
protected:
    void OnLButtonDown(UINT flags, POINT pt)
    {
        g_events.push_back("button-lbuttondown");
        CButton::OnLButtonDown(flags, pt);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingButton, CButton)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// A dialog whose steps are given by the test: `onInit` runs inside OnInitDialog, `later`
// runs from the modal loop (posted), after the post-init placement.
class TestDialog : public CDialog {
public:
    explicit TestDialog(UINT id = IDD_TEST_DIALOG, CWnd* parent = nullptr) : CDialog(id, parent) {}

    std::function<void(TestDialog&)> onInit;
    std::function<void(TestDialog&)> later;
    bool swallowEscAndEnter = false;
    bool initRan = false;
    RecordingEdit edit;
    RecordingButton button;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN)) {
            g_events.push_back(msg->wParam == VK_ESCAPE ? "dialog-esc" : "dialog-enter");
            if (swallowEscAndEnter) {
                return TRUE;
            }
        }
        return CDialog::PreTranslateMessage(msg);
    }

    RECT WindowRect() const
    {
        RECT rect;
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_TEST_EDIT, edit);
        DDX_Control(pDX, IDC_TEST_BUTTON, button);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        initRan = true;
        if (onInit) {
            onInit(*this);
        }
        PostMessage(WM_TEST_RUN);
        return TRUE;
    }
    LRESULT OnTestRun(WPARAM, LPARAM)
    {
        if (later) {
            later(*this);
        }
        return 0;
    }
    void OnTestButton() { EndDialog(IDC_TEST_BUTTON); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_MESSAGE(WM_TEST_RUN, OnTestRun)
    ON_BN_CLICKED(IDC_TEST_BUTTON, OnTestButton)
END_MESSAGE_MAP()

// A plain top-level window to own dialogs, itself owned by `owner` when one is given.
class OwnerWindow : public CWnd {
public:
    OwnerWindow(int left, int top, int width, int height, bool visible, CWnd* owner = nullptr)
    {
        RECT rect{left, top, left + width, top + height};
        CreateEx(0, RegisterClassOnce(L"VeskarTestOwner"), L"owner", WS_POPUP | (visible ? WS_VISIBLE : 0), rect,
                 owner, 0);
    }
};

RECT WorkArea()
{
    RECT area;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { g_events.clear(); }
};

}  // namespace

TEST_F(DialogTest, EndDialogResultIsReturnedByDoModal)
{
    TestDialog dialog;
    dialog.later = [](TestDialog& d) { d.EndDialog(42); };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(dialog.initRan);
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the modal window is destroyed when DoModal returns";
}

TEST_F(DialogTest, OkCommandAndCloseGiveIdOkAndIdCancel)
{
    TestDialog ok;
    ok.later = [](TestDialog& d) { d.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)); };
    EXPECT_EQ(ok.DoModal(), IDOK);

    TestDialog closed;
    closed.later = [](TestDialog& d) { d.PostMessage(WM_CLOSE); };
    EXPECT_EQ(closed.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, EscapeAndEnterReachTheDialogManager)
{
    TestDialog escaped;
    escaped.later = [](TestDialog& d) { PostKey(d.edit.m_hWnd, VK_ESCAPE); };
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);

    TestDialog entered;
    entered.later = [](TestDialog& d) { PostKey(d.edit.m_hWnd, VK_RETURN); };
    EXPECT_EQ(entered.DoModal(), IDOK);
}

TEST_F(DialogTest, PreTranslateMessageRunsInnermostFirstAndCanSwallowKeys)
{
    TestDialog dialog;
    dialog.swallowEscAndEnter = true;
    dialog.later = [](TestDialog& d) {
        PostKey(d.edit.m_hWnd, VK_ESCAPE);
        PostKey(d.edit.m_hWnd, VK_RETURN);
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED));
    };
    EXPECT_EQ(dialog.DoModal(), IDC_TEST_BUTTON) << "swallowed keys must not end the dialog";
    EXPECT_EQ(g_events, (std::vector<std::string>{"edit-pretranslate", "dialog-esc", "edit-pretranslate",
                                                  "dialog-enter"}));
}

TEST_F(DialogTest, DataExchangeBindsTemplateControlsThatKeepTheirBehaviour)
{
    TestDialog dialog;
    HWND boundButton = nullptr;
    dialog.later = [&](TestDialog& d) {
        boundButton = d.button.m_hWnd;
        EXPECT_EQ(d.button.m_hWnd, d.GetDlgItem(IDC_TEST_BUTTON));
        EXPECT_EQ(d.edit.m_hWnd, d.GetDlgItem(IDC_TEST_EDIT));
        d.button.SendMessage(BM_CLICK);
    };
    EXPECT_EQ(dialog.DoModal(), IDC_TEST_BUTTON) << "the click must reach the dialog as BN_CLICKED";
    EXPECT_NE(boundButton, nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string>{"button-lbuttondown"}));
    EXPECT_EQ(dialog.button.m_hWnd, nullptr) << "controls are unbound when the dialog goes";
}

// Like the system's task-modal message box: the owner, a pop-up it owns and any other visible
// window of the thread take no input while the dialog runs, also under a nested one; exactly
// those are enabled again, and what was disabled or hidden before stays as it was.
TEST_F(DialogTest, ModalDialogDisablesEveryOtherWindowOfItsThreadWhileRunning)
{
    OwnerWindow owner(100, 100, 400, 300, true);
    OwnerWindow ownedPopup(150, 150, 100, 100, true, &owner);
    OwnerWindow unrelated(600, 100, 100, 100, true);
    OwnerWindow disabledBefore(600, 300, 100, 100, true);
    disabledBefore.EnableWindow(FALSE);
    OwnerWindow hidden(600, 500, 100, 100, false);
    auto enabled = [&] {
        return std::vector<BOOL>{owner.IsWindowEnabled(), ownedPopup.IsWindowEnabled(), unrelated.IsWindowEnabled(),
                                 disabledBefore.IsWindowEnabled(), hidden.IsWindowEnabled()};
    };
    const std::vector<BOOL> before = enabled();

    TestDialog outer(IDD_TEST_DIALOG, &owner);
    std::vector<BOOL> during;
    std::vector<BOOL> nested;
    BOOL outerEnabledUnderNested = TRUE;
    BOOL outerEnabledAfterNested = FALSE;
    HWND ownerDuring = nullptr;
    outer.later = [&](TestDialog& d) {
        during = enabled();
        ownerDuring = d.GetOwner();
        TestDialog inner(IDD_TEST_DIALOG, &d);
        inner.later = [&](TestDialog& i) {
            nested = enabled();
            outerEnabledUnderNested = d.IsWindowEnabled();
            i.EndDialog(IDOK);
        };
        inner.DoModal();
        outerEnabledAfterNested = d.IsWindowEnabled();
        d.EndDialog(IDOK);
    };
    outer.DoModal();

    const std::vector<BOOL> expectedBefore{TRUE, TRUE, TRUE, FALSE, TRUE};
    const std::vector<BOOL> allOff{FALSE, FALSE, FALSE, FALSE, TRUE};
    EXPECT_EQ(before, expectedBefore);
    EXPECT_EQ(during, allOff);
    EXPECT_EQ(nested, allOff);
    EXPECT_FALSE(outerEnabledUnderNested);
    EXPECT_TRUE(outerEnabledAfterNested);
    EXPECT_EQ(ownerDuring, owner.m_hWnd);
    EXPECT_EQ(enabled(), expectedBefore);
}

TEST_F(DialogTest, CentredOverVisibleOwner)
{
    OwnerWindow owner(100, 120, 500, 400, true);
    TestDialog dialog(IDD_TEST_DIALOG, &owner);
    RECT placed{};
    dialog.later = [&](TestDialog& d) {
        placed = d.WindowRect();
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    RECT ownerRect;
    owner.GetWindowRect(&ownerRect);
    EXPECT_NEAR(Centre(placed).x, Centre(ownerRect).x, 1);
    EXPECT_NEAR(Centre(placed).y, Centre(ownerRect).y, 1);
}

TEST_F(DialogTest, CentredInWorkAreaWhileOwnerHidden)
{
    OwnerWindow owner(10, 10, 200, 150, false);
    TestDialog dialog(IDD_TEST_DIALOG, &owner);
    RECT placed{};
    dialog.later = [&](TestDialog& d) {
        placed = d.WindowRect();
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    EXPECT_NEAR(Centre(placed).x, Centre(WorkArea()).x, 1);
    EXPECT_NEAR(Centre(placed).y, Centre(WorkArea()).y, 1);
}

TEST_F(DialogTest, WithoutParentTheMainWindowOwnsAndCentres)
{
    CWinApp app;
    OwnerWindow main(300, 200, 300, 300, true);
    app.m_pMainWnd = &main;
    TestDialog dialog;
    RECT placed{};
    HWND ownerDuring = nullptr;
    dialog.later = [&](TestDialog& d) {
        placed = d.WindowRect();
        ownerDuring = d.GetOwner();
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    app.m_pMainWnd = nullptr;
    RECT mainRect;
    main.GetWindowRect(&mainRect);
    EXPECT_EQ(ownerDuring, main.m_hWnd);
    EXPECT_NEAR(Centre(placed).x, Centre(mainRect).x, 1);
    EXPECT_NEAR(Centre(placed).y, Centre(mainRect).y, 1);
}

TEST_F(DialogTest, NotCentredWhenPlacedByTemplateOrMovedDuringInit)
{
    OwnerWindow owner(100, 120, 500, 400, true);
    RECT ownerRect;
    owner.GetWindowRect(&ownerRect);

    TestDialog placedByTemplate(IDD_TEST_PLACED_DIALOG, &owner);
    RECT placed{};
    placedByTemplate.later = [&](TestDialog& d) {
        placed = d.WindowRect();
        d.EndDialog(IDOK);
    };
    placedByTemplate.DoModal();
    EXPECT_GT(std::abs(Centre(placed).x - Centre(ownerRect).x), 20);

    TestDialog moved(IDD_TEST_DIALOG, &owner);
    moved.onInit = [](TestDialog& d) { ::SetWindowPos(d.m_hWnd, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
    moved.later = [&](TestDialog& d) {
        placed = d.WindowRect();
        d.EndDialog(IDOK);
    };
    moved.DoModal();
    EXPECT_EQ(placed.left, 7);
    EXPECT_EQ(placed.top, 9);
}

TEST_F(DialogTest, ModelessDialogIsCreatedOwnedAndNotCentred)
{
    OwnerWindow owner(100, 120, 500, 400, true);
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_DIALOG, &owner));
    EXPECT_TRUE(dialog.initRan);
    EXPECT_EQ(dialog.GetOwner(), owner.m_hWnd);
    EXPECT_TRUE(owner.IsWindowEnabled()) << "a modeless dialog leaves its owner enabled";
    EXPECT_EQ(dialog.edit.m_hWnd, dialog.GetDlgItem(IDC_TEST_EDIT));
    dialog.ShowWindow(SW_SHOW);
    dialog.EndDialog(IDOK);
    EXPECT_FALSE(dialog.IsWindowVisible()) << "ending a modeless dialog hides it";
    EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
}
