#include "dialogs/CSkinFrameDlg.h"

#include "dialogs/CSkinContentDlg.h"
#include "dialogs/LayeredPicture.h"

BEGIN_MESSAGE_MAP(CSkinFrameDlg, CDialog)
    ON_WM_MOVE()
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_WM_DESTROY()
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

bool CSkinFrameDlg::DrawPicture(LayeredPicture& picture, UINT imageId)
{
    return picture.DrawResource(imageId);
}

// No decoded image is kept once the window has its picture: the system keeps what it shows,
// and a frame is composed again only when its size changes.
bool CSkinFrameDlg::ComposePicture(int width, int height)
{
    LayeredPicture picture(width, height);
    if (!DrawPicture(picture, m_layout.imageId)) {
        return false;
    }
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
    // Made at its template's place, the content must not drag the frame there (a picture
    // composed for nothing); the frame follows it only once it is placed.
    m_creatingContent = true;
    const BOOL created = m_content->Create(m_layout.contentTemplateId, this);
    m_creatingContent = false;
    if (!created) {
        m_content.reset();
        return;
    }
    const RECT contentPlace = m_layout.contentSizeCutOnce ? skin::PlaceAtCreation(place, m_layout.atCreation, m_scale)
                                                          : skin::Inset(place, m_layout.atCreation, m_scale);
    m_content->MoveWindow(contentPlace, TRUE);
    // An owned window shown before its owner can end up beneath it under Wine's virtual
    // desktop: while the frame is hidden, the content is shown when the frame is (the modal
    // loop shows the frame after this start-up).
    if (IsWindowVisible()) {
        m_content->ShowWindow(SW_SHOW);
    } else {
        m_showContentWithFrame = true;
    }
    m_windowOrder.Watch(m_hWnd, m_content->m_hWnd);
    OnContentPlaced(*m_content);
    m_content->InitContent();
}

void CSkinFrameDlg::FollowContent(const RECT& contentWindowRect)
{
    if (m_creatingContent) {
        return;
    }
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

void CSkinFrameDlg::OnDestroy()
{
    m_windowOrder.Stop();
    Default();
    // The content's window goes first, while its object is whole, so that its own WM_DESTROY
    // (timers, borrowed images, the busy text's thread) runs; then the object.
    if (m_content && ::IsWindow(m_content->m_hWnd)) {
        m_content->DestroyWindow();
    }
    m_content.reset();
}

// The window-order workaround sees each of the frame's messages, before and after the frame.
LRESULT CSkinFrameDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (m_windowOrder.BeforeFrameMessage(message, wParam, lParam, &result)) {
        return result;
    }
    result = CDialog::WindowProc(message, wParam, lParam);
    m_windowOrder.AfterFrameMessage(message, wParam, lParam);
    return result;
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

