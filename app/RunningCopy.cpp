#include "app/RunningCopy.h"

#include "app/ToolTexts.h"

namespace {
// In the session's namespace: each user's session runs its own copy.
const wchar_t kMutexName[] = L"Local\\Tovarin.Veskar.10046";
// The main window is a dialog, of the system's dialog class.
const wchar_t kDialogClass[] = L"#32770";
}  // namespace

RunningCopyLock::RunningCopyLock() : m_mutex(::CreateMutexW(nullptr, FALSE, kMutexName))
{
    // A mutex that cannot be made at all does not keep the tool from running.
    m_first = !m_mutex.Valid() || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

bool BringRunningCopyToFront()
{
    HWND frame = ::FindWindowW(kDialogClass, kToolTitle);
    if (!frame) {
        return false;
    }
    if (::IsIconic(frame)) {
        ::ShowWindow(frame, SW_RESTORE);
    }
    // A modal pop-up of the running tool, or its panel, is what the user can work with.
    HWND front = ::GetLastActivePopup(frame);
    ::SetForegroundWindow(front ? front : frame);
    return true;
}
