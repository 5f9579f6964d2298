#include "dialogs/CSkinFrameDlg.h"

#include "dialogs/CSkinContentDlg.h"
#include "dialogs/LayeredPicture.h"

namespace {
// Private to the frame: check that the content still lies above the frame.
const UINT kKeepContentAbove = WM_APP + 0x51;
// Posted when the frame has come back from being minimised.
const UINT kContentAfterRestore = WM_APP + 0x52;
// Wine can also put the content beneath the frame without telling either window (an owner
// shown or activated while another window it owns appears): the order is checked regularly.
const UINT_PTR kStackCheckTimer = 0x5AFE;
const UINT kStackCheckPeriodMs = 200;
}

BEGIN_MESSAGE_MAP(CSkinFrameDlg, CDialog)
    ON_WM_MOVE()
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_WM_DESTROY()
    ON_MESSAGE(kKeepContentAbove, OnKeepContentAbove)
    ON_MESSAGE(kContentAfterRestore, OnContentAfterRestore)
    ON_WM_TIMER()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CSkinFrameDlg::CSkinFrameDlg(const SkinFrameLayout& layout, CWnd* parent)
    : CDialog(layout.frameTemplateId, parent), m_layout(layout), m_moveSync(layout.moveSyncAtStart)
{
}

// The window goes first so that the content is deleted by OnDestroy while the frame is whole.
CSkinFrameDlg::~CSkinFrameDlg()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
    }
}

BOOL CSkinFrameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_layout.ownScale) {
        m_scale = skin::ScaleFromDpi(ScreenPixelsPerInch());
    }
    RECT window;
    GetWindowRect(&window);
    const SIZE screen{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    const RECT start = skin::StartRect(m_layout, m_scale, POINT{window.left, window.top}, screen);

    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(GetExStyle() ^ WS_EX_LAYERED));
    if (!ComposePicture(start.right - start.left, start.bottom - start.top)) {
        if (IsModal() && m_layout.cancelsWithoutPicture) {
            // Invisible and without content, the frame could not be closed by the user.
            EndDialog(IDCANCEL);
        }
        return TRUE;
    }
    RECT place = start;
    if (!m_layout.contentInStartRect) {
        GetWindowRect(&place);
    }
    CreateContent(place);
    return TRUE;
}

int CSkinFrameDlg::ScreenPixelsPerInch() const
{
    WindowDC screen(nullptr);
    return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

void CSkinFrameDlg::DrawPicture(LayeredPicture& picture, const PngImage& image)
{
    picture.Draw(image);
}

bool CSkinFrameDlg::ComposePicture(int width, int height)
{
    if (!m_background && !LoadPngResource(&m_background, m_layout.imageId)) {
        return false;
    }
    LayeredPicture picture(width, height);
    DrawPicture(picture, *m_background);
    // Set before the update: the update resizes the window, which must not compose again.
    m_pictureSize = SIZE{width, height};
    RECT window;
    GetWindowRect(&window);
    m_hasPicture = picture.Apply(m_hWnd, POINT{window.left, window.top}) != FALSE;
    return true;
}

void CSkinFrameDlg::CreateContent(const RECT& place)
{
    m_content = MakeContent();
    if (!m_content) {
        return;
    }
    m_content->SetScale(m_scale);
    if (!m_content->Create(m_layout.contentTemplateId, this)) {
        m_content.reset();
        return;
    }
    const RECT contentPlace = m_layout.contentSizeCutOnce ? skin::PlaceAtCreation(place, m_layout.atCreation, m_scale)
                                                          : skin::Inset(place, m_layout.atCreation, m_scale);
    m_content->MoveWindow(contentPlace, TRUE);
    // An owned window shown before its owner can end up beneath it under Wine's virtual
    // desktop (see KeepContentAbove): while the frame is hidden, the content is shown when the
    // frame is (the modal loop shows the frame after this start-up).
    if (IsWindowVisible()) {
        m_content->ShowWindow(SW_SHOW);
    } else {
        m_showContentWithFrame = true;
    }
    SetTimer(kStackCheckTimer, kStackCheckPeriodMs);
    OnContentPlaced(*m_content);
    m_content->InitContent();
}

void CSkinFrameDlg::FollowContent(const RECT& contentWindowRect)
{
    m_moveSync = 0;
    MoveWindow(skin::Outset(contentWindowRect, m_layout.atCreation, m_scale), TRUE);
}

void CSkinFrameDlg::PlaceContentForMove()
{
    if (m_moveSync && m_content && ::IsWindow(m_content->m_hWnd)) {
        RECT window;
        GetWindowRect(&window);
        m_content->MoveWindow(skin::Inset(window, m_layout.onMove, m_scale), TRUE);
    }
}

void CSkinFrameDlg::OnMove(int, int)
{
    Default();
    PlaceContentForMove();
}

LRESULT CSkinFrameDlg::OnWindowPosChanged(WPARAM, LPARAM lParam)
{
    const LRESULT result = Default();
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos && (pos->flags & SWP_SHOWWINDOW) && m_showContentWithFrame && m_content) {
        m_showContentWithFrame = false;
        m_content->ShowWindow(SW_SHOWNA);
    }
    const bool minimized = IsIconic() != FALSE;
    if (m_wasMinimized && !minimized) {
        PostMessage(kContentAfterRestore);
    }
    m_wasMinimized = minimized;
    if (pos && !(pos->flags & SWP_NOZORDER)) {
        // Posted: the reordering happens after this message, while the frame is shown.
        PostMessage(kKeepContentAbove);
    }
    if (pos && !(pos->flags & SWP_NOSIZE) && m_hasPicture) {
        RECT window;
        GetWindowRect(&window);
        const SIZE size{window.right - window.left, window.bottom - window.top};
        if (size.cx != m_pictureSize.cx || size.cy != m_pictureSize.cy) {
            // Given another size by its owner: a layered window shows only its last picture,
            // so the picture is composed anew for the new size, and the content follows a
            // change of size that came without a move.
            ComposePicture(size.cx, size.cy);
            PlaceContentForMove();
        }
    }
    return result;
}

// The system keeps owned windows above their owner. Wine's virtual desktop does not always:
// an owner shown after its owned window (the modal loop shows the frame after the content)
// can end up above it, hiding the content and taking its clicks. The content is put back
// right above the frame.
void CSkinFrameDlg::KeepContentAbove()
{
    if (!m_content || !::IsWindow(m_content->m_hWnd)) {
        return;
    }
    for (HWND above = ::GetWindow(m_hWnd, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV)) {
        if (above == m_content->m_hWnd) {
            return;
        }
    }
    // The frame goes right below its content; the content and every other window keep their
    // places.
    ::SetWindowPos(m_hWnd, m_content->m_hWnd, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// Restoring shows the owned content before the frame is restored; Wine's virtual desktop then
// draws the frame's picture over the content although the content is above it in the window
// order. Shown again after the frame, as at start-up, the content is drawn above it.
void CSkinFrameDlg::ShowContentAgain()
{
    if (!m_content || !::IsWindow(m_content->m_hWnd) || !m_content->IsWindowVisible()) {
        return;
    }
    m_content->ShowWindow(SW_HIDE);
    m_content->ShowWindow(SW_SHOWNA);
}

LRESULT CSkinFrameDlg::OnContentAfterRestore(WPARAM, LPARAM)
{
    ShowContentAgain();
    return 0;
}

void CSkinFrameDlg::OnTimer(UINT_PTR id)
{
    if (id == kStackCheckTimer) {
        KeepContentAbove();
        return;
    }
    Default();
}

LRESULT CSkinFrameDlg::OnKeepContentAbove(WPARAM, LPARAM)
{
    KeepContentAbove();
    return 0;
}

// The frame lies under its content, so it only sees the pointer over its shadow. Where it sees
// the pointer over the content, it has been raised above the content (see KeepContentAbove):
// it lets the input through to the content, which is beneath it in the same thread, and
// restores the order.
LRESULT CSkinFrameDlg::OnNcHitTest(POINT screen)
{
    if (m_content && ::IsWindowVisible(m_content->m_hWnd)) {
        RECT content;
        m_content->GetWindowRect(&content);
        if (::PtInRect(&content, screen)) {
            KeepContentAbove();
            return HTTRANSPARENT;
        }
    }
    return Default();
}

void CSkinFrameDlg::OnDestroy()
{
    KillTimer(kStackCheckTimer);
    Default();
    m_background.reset();
    // The content's window goes first, while its object is whole, so that its own WM_DESTROY
    // (timers, borrowed images, the busy text's thread) runs; then the object.
    if (m_content && ::IsWindow(m_content->m_hWnd)) {
        m_content->DestroyWindow();
    }
    m_content.reset();
}

BOOL CSkinFrameDlg::PreTranslateMessage(MSG* msg)
{
    if (m_layout.swallowsEnterEscape && skin::IsEnterOrEscapeDown(*msg)) {
        return TRUE;
    }
    // The frame, active once shown, holds no controls: Tab on it takes the keyboard into the
    // content, to the control that had the focus there last (the first one at first).
    if (msg->hwnd == m_hWnd && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && m_content &&
        m_content->IsWindowVisible() && m_content->IsWindowEnabled()) {
        m_content->SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
        ::SetFocus(m_content->m_hWnd);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

