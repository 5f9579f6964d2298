#include "dialogs/CSkinContentDlg.h"

#include <algorithm>

#include "dialogs/CSkinFrameDlg.h"

BEGIN_MESSAGE_MAP(CSkinContentDlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_MOVE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_ACTIVATE, OnActivate)
    ON_MESSAGE(WM_ENABLE, OnEnable)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSkinContentDlg::CSkinContentDlg(const SkinContentLayout& layout)
    : m_layout(layout), m_dragFlag(layout.dragFlagAtStart)
{
}

CSkinFrameDlg* CSkinContentDlg::GetFrame() const
{
    return dynamic_cast<CSkinFrameDlg*>(m_pParentWnd);
}

const PngImage* CSkinContentDlg::GetBackground()
{
    if (!m_background) {
        LoadPngResource(&m_background, m_layout.imageId);
    }
    return m_background.get();
}

void CSkinContentDlg::AddHoverTarget(HoverTarget& target)
{
    if (std::find(m_hoverTargets.begin(), m_hoverTargets.end(), &target) != m_hoverTargets.end()) {
        return;
    }
    target.SetHoverWatcher(this);
    m_hoverTargets.push_back(&target);
}

void CSkinContentDlg::BindSkinControls(CDataExchange* pDX, std::initializer_list<SkinControl> controls)
{
    for (const SkinControl& control : controls) {
        DDX_Control(pDX, control.id, control.window);
        if (control.hoverTarget) {
            AddHoverTarget(*control.hoverTarget);
        }
        if (control.imageOwner &&
            std::find(m_imageOwners.begin(), m_imageOwners.end(), control.imageOwner) == m_imageOwners.end()) {
            m_imageOwners.push_back(control.imageOwner);
        }
    }
}

BOOL CSkinContentDlg::PreTranslateMessage(MSG* msg)
{
    if (m_layout.swallowsEnterEscape && skin::IsEnterOrEscapeDown(*msg)) {
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CSkinContentDlg::OnOK()
{
    if (CSkinFrameDlg* frame = GetFrame()) {
        frame->SendMessage(WM_COMMAND, IDOK);
    }
}

void CSkinContentDlg::OnCancel()
{
    if (CSkinFrameDlg* frame = GetFrame()) {
        frame->SendMessage(WM_COMMAND, IDCANCEL);
    }
}

RECT CSkinContentDlg::BackgroundRect() const
{
    RECT client;
    GetClientRect(&client);
    return client;
}

BOOL CSkinContentDlg::OnEraseBkgnd(HDC dc)
{
    const PngImage* image = GetBackground();
    if (!image) {
        return TRUE;
    }
    RECT client;
    GetClientRect(&client);
    const RECT dest = BackgroundRect();
    const int partWidth = image->Width() - m_layout.imageTrimRight;
    const int partHeight = image->Height() - m_layout.imageTrimBottom;
    // At the picture's own size over the whole client, the background is copied as it is: no
    // scaling to smooth, and one transfer needs no off-screen pass.
    if (::EqualRect(&dest, &client) && client.right == partWidth && client.bottom == partHeight &&
        CopyPngPart(dc, *image, 0, 0, partWidth, partHeight)) {
        return TRUE;
    }
    ClientPainting painting(m_hWnd, dc, nullptr);
    {
        Gdiplus::Graphics graphics(painting.Dc());
        if (m_layout.smoothBackground) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        }
        DrawPngPart(graphics, image, dest, 0, 0, partWidth, partHeight);
    }
    painting.Present();
    return TRUE;
}

void CSkinContentDlg::RefreshHoverTargets(POINT screen)
{
    for (HoverTarget* target : m_hoverTargets) {
        target->RefreshHover(screen.x, screen.y);
    }
}

LRESULT CSkinContentDlg::OnNcHitTest(POINT screen)
{
    OnHoverStarted();
    RefreshHoverTargets(screen);
    if (m_layout.dragStripExclusion < 0) {
        return Default();
    }
    RECT client;
    GetClientRect(&client);
    ClientToScreen(&client);
    const RECT strip = skin::DragStrip(client, m_layout.dragStripExclusion);
    m_dragFlag = ::PtInRect(&strip, screen) ? 1 : 0;
    return m_dragFlag ? HTCAPTION : Default();
}

void CSkinContentDlg::OnMove(int, int)
{
    Default();
    CSkinFrameDlg* frame = GetFrame();
    if (m_dragFlag && frame && frame->m_hWnd) {
        RECT window;
        GetWindowRect(&window);
        frame->FollowContent(window);
    }
}

void CSkinContentDlg::OnTimer(UINT_PTR id)
{
    if (id != m_layout.hoverTimerId || !m_layout.hoverTimerId) {
        Default();
        return;
    }
    POINT cursor;
    ::GetCursorPos(&cursor);
    RECT client;
    GetClientRect(&client);
    ClientToScreen(&client);
    if (!::PtInRect(&client, cursor)) {
        RefreshHoverTargets(cursor);
        StopHoverUpkeep();
    }
}

void CSkinContentDlg::OnHoverStarted()
{
    if (m_layout.hoverTimerId && !m_hoverUpkeep && m_hWnd) {
        m_hoverUpkeep = SetTimer(m_layout.hoverTimerId, skin::kHoverPeriodMs) != 0;
    }
}

void CSkinContentDlg::StopHoverUpkeep()
{
    if (m_hoverUpkeep) {
        KillTimer(m_layout.hoverTimerId);
        m_hoverUpkeep = false;
    }
}

// Under Wine these can put the content beneath its frame (see WineWindowOrder).
LRESULT CSkinContentDlg::DefaultThenTellFrame(UINT message, LPARAM lParam)
{
    const LRESULT result = Default();
    if (CSkinFrameDlg* frame = GetFrame()) {
        frame->AfterContentMessage(message, lParam);
    }
    return result;
}

LRESULT CSkinContentDlg::OnActivate(WPARAM, LPARAM lParam)
{
    return DefaultThenTellFrame(WM_ACTIVATE, lParam);
}

LRESULT CSkinContentDlg::OnEnable(WPARAM, LPARAM lParam)
{
    return DefaultThenTellFrame(WM_ENABLE, lParam);
}

LRESULT CSkinContentDlg::OnWindowPosChanged(WPARAM, LPARAM lParam)
{
    return DefaultThenTellFrame(WM_WINDOWPOSCHANGED, lParam);
}

void CSkinContentDlg::OnDestroy()
{
    ReleaseContent();
    for (CStateImageButton* owner : m_imageOwners) {
        owner->ReleaseImages();
    }
    StopHoverUpkeep();
    m_background.reset();
    Default();
}
