#include "tests/app/AppTestSupport.h"

#include <shlobj.h>

namespace apptest {

const ToolFiles& Files()
{
    static const ToolFiles files = BuildFiles(L"..\\..\\");
    return files;
}

std::string PromptText(HWND prompt)
{
    return Utf8(ControlText(prompt, kPromptMarker));
}

::testing::AssertionResult ConfirmPrompt(HWND prompt)
{
    const POINT ok = Centre(ControlScreenRect(prompt, kPromptOk));
    if (!ClickControl(prompt, kPromptOk)) {
        return ::testing::AssertionFailure() << "the pointer did not reach the confirm button; " << DescribePoint(ok);
    }
    if (!WaitUntil([prompt] { return !::IsWindow(prompt) || !::IsWindowVisible(prompt); }, 5000)) {
        return ::testing::AssertionFailure() << "the prompt stayed after its confirm button was clicked; "
                                             << DescribePoint(ok);
    }
    return ::testing::AssertionSuccess();
}

std::string DescribePoint(POINT screen)
{
    HWND window = ::WindowFromPoint(screen);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    POINT pointer{};
    ::GetCursorPos(&pointer);
    return "at (" + std::to_string(screen.x) + ", " + std::to_string(screen.y) + ") lies window " +
           std::to_string(reinterpret_cast<UINT_PTR>(window)) + " (control " +
           std::to_string(::GetDlgCtrlID(window)) + ") of process " + std::to_string(pid) + "; the pointer is at (" +
           std::to_string(pointer.x) + ", " + std::to_string(pointer.y) + ")";
}

bool WaitForVersionCheck(const ToolRun& run)
{
    return WaitUntil([&run] { return CountCalls(run, "GetToolIsNewVersion") > 0; }, 5000, 20);
}

int CountCalls(const ToolRun& run, const std::string& call)
{
    int count = 0;
    for (const std::string& line : run.FeedbackCalls()) {
        const bool named = line.compare(0, call.size(), call) == 0 &&
                           (line.size() == call.size() || line[call.size()] == '\t');
        count += named ? 1 : 0;
    }
    return count;
}

std::wstring ToolFileList()
{
    return L"TovarinFeedbackInformation.dll, Veskar.exe";
}

std::wstring EntryList(const ScratchFolder& folder)
{
    std::wstring list;
    for (const std::wstring& entry : folder.Entries()) {
        list += (list.empty() ? L"" : L", ") + entry;
    }
    return list;
}

namespace {

// Renames the agent, retrying for a moment: a process that has only just ended may still
// hold the file under Wine, and a failed rename would turn the next repair's outcome round.
bool MoveAgent(const std::wstring& from, const std::wstring& to)
{
    return WaitUntil(
        [&] {
            return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE ||
                   (::GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES &&
                    ::GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES);
        },
        5000, 20);
}

}  // namespace

AgentAway::AgentAway() : m_away(std::wstring(kAgentPath) + L".away")
{
    m_moved = MoveAgent(kAgentPath, m_away);
}

AgentAway::~AgentAway()
{
    if (m_moved) {
        MoveAgent(m_away, kAgentPath);
    }
}

std::wstring RepairLogPath()
{
    wchar_t folder[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_APPDATA, FALSE);
    return std::wstring(folder) + L"\\ToolLog\\Quenmar软件名称显示乱码修复工具.txt";
}

std::string Cp936(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(936, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(936, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return bytes;
}

}  // namespace apptest
