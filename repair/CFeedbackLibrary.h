#pragma once
// Run-time binding to the maker's feedback library, which lies beside the tool.
#include <windows.h>

class CFeedbackLibrary {
public:
    // The library's file name; it is loaded only from the tool's own folder.
    static constexpr wchar_t kFileName[] = L"TovarinFeedbackInformation.dll";

    CFeedbackLibrary() = default;
    ~CFeedbackLibrary() { FreeFeedbackLibrary(); }
    CFeedbackLibrary(const CFeedbackLibrary&) = delete;
    CFeedbackLibrary& operator=(const CFeedbackLibrary&) = delete;

    // Loads the library from the running program's folder and finds its nine exports.
    // False when it cannot be loaded or an export is missing; a library that was loaded
    // stays loaded then (the caller ends the process), but none of it is callable.
    bool LoadFeedbackLibrary();
    // Unloads the library; from then on every call below does nothing and answers 0.
    void FreeFeedbackLibrary();
    bool IsLoaded() const { return m_initFreedbackDll != nullptr; }

    // The exports the tool calls. Each answers 0 while the library is not bound.
    int InitFreedbackDll();
    int FeedbackQuestion(const wchar_t* toolId, const wchar_t* toolVersion);
    int OpenUrl(const wchar_t* page);
    int CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* toolVersion, int answer, const wchar_t* timeText);
    int GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* toolVersion);
    int OpenToolDownUrl();

private:
    using NoArgumentsFn = int(__cdecl*)();
    using ToolFn = int(__cdecl*)(const wchar_t*, const wchar_t*);
    using PageFn = int(__cdecl*)(const wchar_t*);
    using AnswerFn = int(__cdecl*)(const wchar_t*, const wchar_t*, int, const wchar_t*);

    template <typename Fn>
    bool Resolve(const char* name, Fn& entry);
    void ForgetEntries();

    // The module, then the entry points in the library's export order. The three that the
    // tool never calls are only required to be present.
    HMODULE m_module = nullptr;
    NoArgumentsFn m_initFreedbackDll = nullptr;
    ToolFn m_feedbackQuestion = nullptr;
    PageFn m_openUrl = nullptr;
    FARPROC m_getInterNetState = nullptr;
    FARPROC m_customerFeedback = nullptr;
    AnswerFn m_customerFeedbackEx = nullptr;
    FARPROC m_writeCustomerFeedbackInfoFile = nullptr;
    ToolFn m_getToolIsNewVersion = nullptr;
    NoArgumentsFn m_openToolDownUrl = nullptr;
};
