// Shows one pop-up so that a person (or scripts/screenshots.sh) can look at it:
//
//   skin_viewer prompt <type> <rect-file> <seconds> [scale] [text]
//   skin_viewer progress <rect-file> <seconds> [scale] [text]
//   skin_viewer feedback <rect-file> <seconds>
//   skin_viewer agreement <rect-file> <seconds> [scale]
//
// Once the pop-up shows, the screen rectangles of its frame and of its content ("left top right
// bottom", one line each) are written to <rect-file>; after <seconds> the pop-up is ended the
// way the program ends it. The feedback pop-up takes its scale from the screen's pixel
// density; it has no feedback library, so its close button only closes it. The agreement bubble
// is shown over a stand-in for the main panel, placed and sized as the panel places it, its
// text scrolled to the middle; its first rectangle is the panel's (what there is to see).
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "dialogs/CExecutePromptDlg.h"
#include "dialogs/CProblemSolvingFeedbackDlg.h"
#include "dialogs/CPromptDlg.h"
#include "dialogs/CTooltipDlg.h"
#include "framework/Scale.h"
#include "repair/RepairMessages.h"
#include "res/resource.h"

namespace {

const UINT kReportDelayMs = 200;
// Thread timers get their ids from the system.
UINT_PTR g_reportTimer = 0;

enum class Kind { kPrompt, kProgress, kFeedback, kAgreement };

CSkinFrameDlg* g_shown = nullptr;
HWND g_panel = nullptr;  // the agreement bubble's stand-in panel
std::wstring g_rectFile;
Kind g_kind = Kind::kPrompt;

void WriteRects()
{
    RECT frame{};
    RECT content{};
    ::GetWindowRect(g_panel ? g_panel : g_shown->m_hWnd, &frame);
    if (g_panel) {
        ::GetWindowRect(g_shown->m_hWnd, &content);
    } else if (g_shown->GetContent()) {
        ::GetWindowRect(g_shown->GetContent()->m_hWnd, &content);
    }
    FILE* file = _wfopen(g_rectFile.c_str(), L"w");
    if (file) {
        std::fprintf(file, "%ld %ld %ld %ld\n%ld %ld %ld %ld\n", frame.left, frame.top, frame.right, frame.bottom,
                     content.left, content.top, content.right, content.bottom);
        std::fclose(file);
    }
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (!g_shown || !g_shown->m_hWnd) {
        return;
    }
    if (id == g_reportTimer) {
        WriteRects();
        return;
    }
    switch (g_kind) {
    case Kind::kProgress:
        g_shown->SendMessage(WM_CLOSE_PROGRESS);
        break;
    case Kind::kPrompt:
        g_shown->SendMessage(WM_PROMPT_RESULT, kPromptOk);
        break;
    case Kind::kFeedback:
        static_cast<CProblemSolvingFeedbackDlg*>(g_shown)->GetFeedbackContent()->CloseButton().SendMessage(BM_CLICK);
        break;
    case Kind::kAgreement:
        ::PostQuitMessage(0);
        break;
    }
}

int Usage()
{
    std::fwprintf(stderr, L"usage: skin_viewer prompt <type> <rect-file> <seconds> [scale] [text]\n"
                          L"       skin_viewer progress <rect-file> <seconds> [scale] [text]\n"
                          L"       skin_viewer feedback <rect-file> <seconds>\n"
                          L"       skin_viewer agreement <rect-file> <seconds> [scale]\n");
    return 2;
}

// Stands in for the main panel under the agreement bubble: its picture, PNG 139, at its size.
class PanelStandIn : public CWnd {
public:
    bool Open(float scale)
    {
        CWnd::RegisterClassOnce(L"VeskarViewerPanel");
        const RECT place{200, 100, 200 + Scaled(400, scale), 100 + Scaled(600, scale)};
        return CreateEx(0, L"VeskarViewerPanel", L"", WS_POPUP | WS_VISIBLE, place, nullptr, 0) != FALSE;
    }

protected:
    BOOL OnEraseBkgnd(HDC) { return TRUE; }
    void OnPaint()
    {
        PaintDC paint(m_hWnd);
        if (!m_picture) {
            LoadPngResource(&m_picture, IDP_PANEL);
        }
        RECT client;
        GetClientRect(&client);
        Gdiplus::Graphics graphics(paint.Get());
        DrawPngPart(graphics, m_picture.get(), client, 0, 0, m_picture ? m_picture->Width() : 0,
                    m_picture ? m_picture->Height() : 0);
    }

    DECLARE_MESSAGE_MAP()

private:
    PngImagePtr m_picture;
};

BEGIN_MESSAGE_MAP(PanelStandIn, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

// The bubble as the panel shows it after a click on the agreement link: over the panel's lower
// part, from 108 below its top to 20 above its bottom; then its text scrolled to the middle.
int ShowAgreement(float scale)
{
    PanelStandIn panel;
    if (!AfxInitRichEdit() || !panel.Open(scale)) {
        return 1;
    }
    CTooltipDlg bubble;
    bubble.SetScale(scale);
    if (!bubble.Create(IDD_TOOLTIP, &panel)) {
        return 1;
    }
    RECT p;
    panel.GetWindowRect(&p);
    bubble.MoveWindow(p.left + Scaled(2, scale), p.top + Scaled(108, scale), p.right - p.left - Scaled(2, scale),
                      p.bottom - p.top - Scaled(128, scale));
    bubble.ShowWindow(SW_SHOW);
    bubble.ShowContent(CTooltipDlg::kShown);
    CRichEditCtrl& text = bubble.GetTooltipContent()->RichEdit();
    SCROLLINFO info{sizeof(info), SIF_ALL};
    ::GetScrollInfo(text.m_hWnd, SB_VERT, &info);
    const int middle = (info.nMax - static_cast<int>(info.nPage) + 1) / 2;
    text.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, middle));
    g_shown = &bubble;
    g_panel = panel.m_hWnd;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    g_shown = nullptr;
    g_panel = nullptr;
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        return Usage();
    }
    const std::wstring kind = argv[1];
    if (kind == L"progress") {
        g_kind = Kind::kProgress;
    } else if (kind == L"feedback") {
        g_kind = Kind::kFeedback;
    } else if (kind == L"agreement") {
        g_kind = Kind::kAgreement;
    } else if (kind != L"prompt") {
        return Usage();
    }
    int next = 2;
    const int type = g_kind == Kind::kPrompt ? _wtoi(argv[next++]) : 0;
    if (argc < next + 2) {
        return Usage();
    }
    g_rectFile = argv[next++];
    const UINT seconds = static_cast<UINT>(_wtoi(argv[next++]));
    const float scale = argc > next ? static_cast<float>(_wtof(argv[next++])) : 1.0f;
    std::wstring text = argc > next ? argv[next] : L"";

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    g_reportTimer = ::SetTimer(nullptr, 0, kReportDelayMs, &OnTimer);
    ::SetTimer(nullptr, 0, seconds * 1000, &OnTimer);
    INT_PTR result = 0;
    if (g_kind == Kind::kAgreement) {
        result = ShowAgreement(scale);
    } else if (g_kind == Kind::kFeedback) {
        CProblemSolvingFeedbackDlg feedback;
        g_shown = &feedback;
        result = feedback.DoModal();
    } else if (g_kind == Kind::kProgress) {
        CExecutePromptDlg progress;
        progress.SetScale(scale);
        progress.SetText(text.empty() ? L"正在修复，请稍等" : text);
        g_shown = &progress;
        result = progress.DoModal();
    } else {
        CPromptDlg prompt;
        prompt.SetScale(scale);
        prompt.SetType(type);
        prompt.SetText(text.empty() ? L"修复Quenmar软件名称显示乱码成功！" : text);
        g_shown = &prompt;
        result = prompt.DoModal();
    }
    g_shown = nullptr;
    Gdiplus::GdiplusShutdown(token);
    return static_cast<int>(result);
}
