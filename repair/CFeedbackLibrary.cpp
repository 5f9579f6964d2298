#include "repair/CFeedbackLibrary.h"

#include <string>

namespace {

// The running program's folder with a trailing backslash, or empty when its path cannot
// be read whole: a truncated path could name some other folder's library.
std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
    std::wstring::size_type slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) {
        return {};
    }
    path.resize(slash + 1);
    return path;
}

} // namespace

template <typename Fn>
bool CFeedbackLibrary::Resolve(const char* name, Fn& entry)
{
    entry = reinterpret_cast<Fn>(::GetProcAddress(m_module, name));
    return entry != nullptr;
}

bool CFeedbackLibrary::LoadFeedbackLibrary()
{
    FreeFeedbackLibrary();
    std::wstring folder = ProgramFolder();
    if (folder.empty()) {
        return false;
    }
    // By its full path; what it imports in turn comes from its own folder or the system's,
    // never from the current folder or the search path.
    m_module = ::LoadLibraryExW((folder + kFileName).c_str(), nullptr,
                                LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    // GetProcAddress on a null module would search the program itself.
    bool complete = m_module != nullptr
        && Resolve("InitFreedbackDll", m_initFreedbackDll)
        && Resolve("FeedbackQuestion", m_feedbackQuestion)
        && Resolve("OpenUrl", m_openUrl)
        && Resolve("GetInterNetState", m_getInterNetState)
        && Resolve("CustomerFeedback", m_customerFeedback)
        && Resolve("CustomerFeedbackEx", m_customerFeedbackEx)
        && Resolve("WriteCustomerFeedbackInfoFile", m_writeCustomerFeedbackInfoFile)
        && Resolve("GetToolIsNewVersion", m_getToolIsNewVersion)
        && Resolve("OpenToolDownUrl", m_openToolDownUrl);
    if (!complete) {
        // An incomplete library is not called at all.
        ForgetEntries();
    }
    return complete;
}

void CFeedbackLibrary::FreeFeedbackLibrary()
{
    // The entry points go first: none may be reached once the module is unmapped.
    ForgetEntries();
    if (m_module) {
        ::FreeLibrary(m_module);
        m_module = nullptr;
    }
}

void CFeedbackLibrary::ForgetEntries()
{
    m_initFreedbackDll = nullptr;
    m_feedbackQuestion = nullptr;
    m_openUrl = nullptr;
    m_getInterNetState = nullptr;
    m_customerFeedback = nullptr;
    m_customerFeedbackEx = nullptr;
    m_writeCustomerFeedbackInfoFile = nullptr;
    m_getToolIsNewVersion = nullptr;
    m_openToolDownUrl = nullptr;
}

int CFeedbackLibrary::InitFreedbackDll()
{
    return m_initFreedbackDll ? m_initFreedbackDll() : 0;
}

int CFeedbackLibrary::FeedbackQuestion(const wchar_t* toolId, const wchar_t* toolVersion)
{
    return m_feedbackQuestion ? m_feedbackQuestion(toolId, toolVersion) : 0;
}

int CFeedbackLibrary::OpenUrl(const wchar_t* page)
{
    return m_openUrl ? m_openUrl(page) : 0;
}

int CFeedbackLibrary::CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* toolVersion, int answer,
                                         const wchar_t* timeText)
{
    return m_customerFeedbackEx ? m_customerFeedbackEx(toolId, toolVersion, answer, timeText) : 0;
}

int CFeedbackLibrary::GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* toolVersion)
{
    return m_getToolIsNewVersion ? m_getToolIsNewVersion(toolId, toolVersion) : 0;
}

int CFeedbackLibrary::OpenToolDownUrl()
{
    return m_openToolDownUrl ? m_openToolDownUrl() : 0;
}
