// Shows one pop-up so that a person (or scripts/screenshots.sh) can look at it:
//
//   skin_viewer prompt <type> <rect-file> <seconds> [scale] [text]
//   skin_viewer progress <rect-file> <seconds> [scale] [text]
//
// Once the pop-up shows, the screen rectangles of its frame and of its content ("left top right
// bottom", one line each) are written to <rect-file>; after <seconds> the pop-up is ended the
// way the program ends it.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/Messages.h"
#include "dialogs/CExecutePromptDlg.h"
#include "dialogs/CPromptDlg.h"

namespace {

const UINT kReportDelayMs = 200;
// Thread timers get their ids from the system.
UINT_PTR g_reportTimer = 0;

CSkinFrameDlg* g_shown = nullptr;
std::wstring g_rectFile;
bool g_isProgress = false;

void WriteRects()
{
    RECT frame{};
    RECT content{};
    ::GetWindowRect(g_shown->m_hWnd, &frame);
    if (g_shown->GetContent()) {
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
    } else if (g_isProgress) {
        g_shown->SendMessage(WM_CLOSE_PROGRESS);
    } else {
        g_shown->SendMessage(WM_PROMPT_RESULT, kPromptOk);
    }
}

int Usage()
{
    std::fwprintf(stderr, L"usage: skin_viewer prompt <type> <rect-file> <seconds> [scale] [text]\n"
                          L"       skin_viewer progress <rect-file> <seconds> [scale] [text]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        return Usage();
    }
    const std::wstring kind = argv[1];
    g_isProgress = kind == L"progress";
    if (!g_isProgress && kind != L"prompt") {
        return Usage();
    }
    int next = 2;
    const int type = g_isProgress ? 0 : _wtoi(argv[next++]);
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
    if (g_isProgress) {
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
