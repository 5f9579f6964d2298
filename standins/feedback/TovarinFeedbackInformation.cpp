// Stand-in for the maker's feedback library: the nine exports the tool binds, with plain
// behaviour, a call journal for tests and settings that make it answer otherwise.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "standins/feedback/FeedbackText.h"

using feedback::JournalField;

namespace {

constexpr wchar_t kJournalVariable[] = L"VESKAR_FEEDBACK_JOURNAL";
constexpr wchar_t kInitVariable[] = L"VESKAR_FEEDBACK_INIT";
constexpr wchar_t kNewVersionVariable[] = L"VESKAR_FEEDBACK_NEW_VERSION";

// The tool last asked about, whose download page OpenToolDownUrl opens.
SRWLOCK g_lastToolLock = SRWLOCK_INIT;
std::wstring g_lastToolId;

std::wstring Variable(const wchar_t* name)
{
    DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    DWORD length = ::GetEnvironmentVariableW(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

int Setting(const wchar_t* name, int fallback)
{
    std::wstring value = Variable(name);
    return value.empty() ? fallback : feedback::ParseSetting(value.c_str(), fallback);
}

// Appends UTF-8 text in a single write, so that records of concurrent callers do not mix.
bool AppendText(const std::wstring& path, const std::wstring& text)
{
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::string bytes = feedback::ToUtf8(text);
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

// With a journal named, every call is recorded there and no page is opened.
bool Journal(const std::wstring& record)
{
    std::wstring path = Variable(kJournalVariable);
    if (path.empty()) {
        return false;
    }
    AppendText(path, record + L"\n");
    return true;
}

int OpenPage(const std::wstring& page, bool recordOnly)
{
    if (!feedback::IsWebPage(page.c_str())) {
        return 0;
    }
    if (recordOnly) {
        return 1;
    }
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32 ? 1 : 0;
}

// %ProgramData%\Tovarin\Feedback\answers.txt, its folders created on the way.
std::wstring AnswersFile()
{
    wchar_t root[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, root))) {
        return {};
    }
    std::wstring folder = std::wstring(root) + L"\\Tovarin";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\Feedback";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\answers.txt";
}

int KeepAnswer(const wchar_t* toolId, const wchar_t* toolVersion, int answer, const wchar_t* timeText)
{
    if (!toolId || !toolVersion || !timeText) {
        return 0;
    }
    std::wstring path = AnswersFile();
    std::wstring line = JournalField(toolId) + L"\t" + JournalField(toolVersion) + L"\t"
        + std::to_wstring(answer) + L"\t" + JournalField(timeText);
    return !path.empty() && AppendText(path, line + L"\n") ? 1 : 0;
}

} // namespace

extern "C" {

int __cdecl InitFreedbackDll()
{
    Journal(L"InitFreedbackDll");
    return Setting(kInitVariable, 1);
}

int __cdecl FeedbackQuestion(const wchar_t* toolId, const wchar_t* toolVersion)
{
    bool recordOnly = Journal(L"FeedbackQuestion\t" + JournalField(toolId) + L"\t" + JournalField(toolVersion));
    if (!toolId || !toolVersion) {
        return 0;
    }
    return OpenPage(feedback::FeedbackQuestionPageFor(toolId, toolVersion), recordOnly);
}

int __cdecl OpenUrl(const wchar_t* page)
{
    bool recordOnly = Journal(L"OpenUrl\t" + JournalField(page));
    return page ? OpenPage(page, recordOnly) : 0;
}

// The stand-in does not probe the network: it reports a connection.
int __cdecl GetInterNetState()
{
    Journal(L"GetInterNetState");
    return 1;
}

// An answer without a time of its own: kept with the current time.
int __cdecl CustomerFeedback(const wchar_t* toolId, const wchar_t* toolVersion, int answer)
{
    Journal(L"CustomerFeedback\t" + JournalField(toolId) + L"\t" + JournalField(toolVersion) + L"\t"
            + std::to_wstring(answer));
    return KeepAnswer(toolId, toolVersion, answer, std::to_wstring(static_cast<long long>(_time64(nullptr))).c_str());
}

int __cdecl CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* toolVersion, int answer, const wchar_t* timeText)
{
    Journal(L"CustomerFeedbackEx\t" + JournalField(toolId) + L"\t" + JournalField(toolVersion) + L"\t"
            + std::to_wstring(answer) + L"\t" + JournalField(timeText));
    return KeepAnswer(toolId, toolVersion, answer, timeText);
}

// Makes sure the answers file exists; 1 when it does.
int __cdecl WriteCustomerFeedbackInfoFile()
{
    Journal(L"WriteCustomerFeedbackInfoFile");
    std::wstring path = AnswersFile();
    return !path.empty() && AppendText(path, L"") ? 1 : 0;
}

// 0 "up to date" unless the setting says otherwise; -1 for a call without a tool.
int __cdecl GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* toolVersion)
{
    Journal(L"GetToolIsNewVersion\t" + JournalField(toolId) + L"\t" + JournalField(toolVersion));
    if (!toolId || !toolVersion || !*toolId) {
        return -1;
    }
    ::AcquireSRWLockExclusive(&g_lastToolLock);
    g_lastToolId = toolId;
    ::ReleaseSRWLockExclusive(&g_lastToolLock);
    return Setting(kNewVersionVariable, 0);
}

int __cdecl OpenToolDownUrl()
{
    bool recordOnly = Journal(L"OpenToolDownUrl");
    ::AcquireSRWLockShared(&g_lastToolLock);
    std::wstring toolId = g_lastToolId;
    ::ReleaseSRWLockShared(&g_lastToolLock);
    return OpenPage(feedback::ToolDownloadPageFor(toolId), recordOnly);
}

} // extern "C"
