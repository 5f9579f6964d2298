#include "tests/support/WindowQueries.h"

#include <algorithm>

#include "tests/support/Geometry.h"

namespace testsupport {
namespace {

constexpr DWORD kAnswerBoundMs = 2000;

bool AskBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer)
{
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerBoundMs, answer) != 0;
}

}  // namespace

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(std::max(::GetWindowTextLengthW(window), 0)) + 1, L'\0');
    const int length = ::GetWindowTextW(window, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(length, 0)));
    return text;
}

std::wstring ControlText(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control ? WindowText(control) : std::wstring();
}

std::wstring ClassName(HWND window)
{
    wchar_t name[128] = {};
    const int length = ::GetClassNameW(window, name, 128);
    return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

std::vector<HWND> VisibleWindows(DWORD pid)
{
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid && ::IsWindowVisible(window)) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT Bounds(const std::vector<HWND>& windows)
{
    RECT bounds{};
    for (HWND window : windows) {
        const RECT rect = WindowScreenRect(window);
        ::UnionRect(&bounds, &bounds, &rect);
    }
    return bounds;
}

HWND FrameOf(HWND content)
{
    HWND owner = ::GetWindow(content, GW_OWNER);
    return owner ? owner : content;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR answer = 0;
    AskBounded(window, message, wParam, lParam, &answer);
    return static_cast<LRESULT>(answer);
}

bool Answers(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &result) != 0;
}

LRESULT CheckState(HWND dialog, int id)
{
    return Ask(::GetDlgItem(dialog, id), BM_GETCHECK);
}

int FirstVisibleLine(HWND edit)
{
    DWORD_PTR line = 0;
    if (!AskBounded(edit, EM_GETFIRSTVISIBLELINE, 0, 0, &line)) {
        return -1;
    }
    return static_cast<int>(line);
}

}  // namespace testsupport
