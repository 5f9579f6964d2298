#include "controls/CDrawStateInfoStatic.h"

namespace {
const DWORD kFirstDotDelayMs = 500;
const DWORD kDotPeriodMs = 600;
const int kDotPhases = 4;  // none, ".", "..", "..."
}

BEGIN_MESSAGE_MAP(CDrawStateInfoStatic, CSkinStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDrawStateInfoStatic::CDrawStateInfoStatic()
    : m_ground(::CreateSolidBrush(RGB(255, 255, 255))),
      m_stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

CDrawStateInfoStatic::~CDrawStateInfoStatic()
{
    // The worker uses this object's members: it must be gone before they are.
    EndWorker();
}

void CDrawStateInfoStatic::EndWorker()
{
    m_stop = 1;
    if (m_stopEvent.Valid()) {
        ::SetEvent(m_stopEvent.Get());
    }
    // The worker wakes at once and sends no message, so this wait is short and cannot
    // deadlock with the window's thread.
    if (m_thread.Valid()) {
        ::WaitForSingleObject(m_thread.Get(), INFINITE);
    }
}

UINT CDrawStateInfoStatic::AlignFlags(int mode)
{
    switch (mode) {
    case kAlignOneLineCentred: return DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    case kAlignOneLineRight: return DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
    case kAlignWrapped: return DT_WORDBREAK | DT_VCENTER;
    case kAlignWrappedCentred: return DT_WORDBREAK | DT_VCENTER | DT_CENTER;
    case kAlignWrappedRight: return DT_WORDBREAK | DT_VCENTER | DT_RIGHT;
    default: return DT_SINGLELINE | DT_VCENTER;
    }
}

std::wstring CDrawStateInfoStatic::TextWithDots(const std::wstring& text, int phase)
{
    return phase > 0 && phase < kDotPhases ? text + std::wstring(static_cast<size_t>(phase), L'.') : text;
}

void CDrawStateInfoStatic::SetTextColor(COLORREF colour)
{
    m_textColour = colour;
    Invalidate(TRUE);
}

void CDrawStateInfoStatic::StartAnimation()
{
    if (m_thread.Valid() || m_stop || !m_hWnd || !m_stopEvent.Valid()) {
        return;
    }
    m_animatedWindow = m_hWnd;
    // A failure to start leaves the text without dots.
    m_thread.Reset(::CreateThread(nullptr, 0, &CDrawStateInfoStatic::AnimationThread, this, 0, nullptr));
}

void CDrawStateInfoStatic::StopAnimation()
{
    // Waiting for the worker first means it cannot advance the phase after the reset.
    EndWorker();
    m_dotPhase = 0;
    if (m_hWnd) {
        Invalidate(TRUE);
    }
}

bool CDrawStateInfoStatic::IsAnimationThreadRunning() const
{
    return m_thread.Valid() && ::WaitForSingleObject(m_thread.Get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI CDrawStateInfoStatic::AnimationThread(LPVOID param)
{
    auto* self = static_cast<CDrawStateInfoStatic*>(param);
    self->Animate(self->m_animatedWindow);
    return 0;
}

void CDrawStateInfoStatic::Animate(HWND window)
{
    HANDLE stopEvent = m_stopEvent.Get();
    if (::WaitForSingleObject(stopEvent, kFirstDotDelayMs) == WAIT_OBJECT_0) {
        return;
    }
    while (!m_stop) {
        m_dotPhase = (m_dotPhase + 1) % kDotPhases;
        ::InvalidateRect(window, nullptr, TRUE);
        if (::WaitForSingleObject(stopEvent, kDotPeriodMs) == WAIT_OBJECT_0) {
            break;
        }
    }
}

void CDrawStateInfoStatic::OnPaint()
{
    Paint(PaintLook{m_ground.Get(), false, TextWithDots(GetWindowText(), m_dotPhase), m_textColour,
                    AlignFlags(m_alignMode)});
}
