// The feedback library binding against the stand-in library: loading from the program's
// folder, the arguments each call passes, the test variants and freeing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "repair/CFeedbackLibrary.h"
#include "repair/MakerPages.h"
#include "repair/ToolIdentity.h"
#include "tests/support/Files.h"
#include "tests/support/Settings.h"
#include "tests/support/Standins.h"

using namespace testsupport;

namespace {

std::wstring LibraryBesideProgram()
{
    return ProgramFolder() + CFeedbackLibrary::kFileName;
}

// Runs the probe copied into `folder` with `workingFolder` as its current folder.
DWORD RunProbe(const ScratchFolder& folder, const std::wstring& workingFolder)
{
    std::wstring command = L"\"" + folder.File(L"feedback_probe.exe") + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          workingFolder.c_str(), &startup, &process)) {
        return 1000;
    }
    DWORD exitCode = 1001;
    if (::WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        ::TerminateProcess(process.hProcess, 1002);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exitCode;
}

} // namespace

TEST(FeedbackLibrary, BindsTheLibraryBesideTheProgramAndPassesEachCallsArguments)
{
    CallJournal journal;
    CFeedbackLibrary library;
    ASSERT_TRUE(library.LoadFeedbackLibrary());
    EXPECT_NE(nullptr, ::GetModuleHandleW(LibraryBesideProgram().c_str()));

    EXPECT_EQ(1, library.InitFreedbackDll());
    EXPECT_EQ(1, library.FeedbackQuestion(TOOL_ID, TOOL_VERSION));
    EXPECT_EQ(1, library.OpenUrl(kKnowledgeBaseArticle));
    EXPECT_EQ(1, library.OpenUrl(kKnowledgeBaseRoot));
    EXPECT_EQ(1, library.CustomerFeedbackEx(TOOL_ID, TOOL_VERSION, 3, L"-5"));
    EXPECT_EQ(0, library.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION));
    EXPECT_EQ(1, library.OpenToolDownUrl());
    // Only web pages are opened; the journal keeps each record on one line, in UTF-8.
    EXPECT_EQ(0, library.OpenUrl(L"C:\\Windows\\notepad.exe"));
    EXPECT_EQ(0, library.OpenUrl(L"https://kb.tovarin.example/搜索\t1"));
    EXPECT_EQ(0, library.OpenUrl(nullptr));

    std::vector<std::string> expected = {
        "InitFreedbackDll",
        "FeedbackQuestion\t10046\t1.0.3",
        "OpenUrl\thttps://kb.tovarin.example/detail/dc_172545.html",
        "OpenUrl\thttps://kb.tovarin.example/",
        "CustomerFeedbackEx\t10046\t1.0.3\t3\t-5",
        "GetToolIsNewVersion\t10046\t1.0.3",
        "OpenToolDownUrl",
        "OpenUrl\tC:\\\\Windows\\\\notepad.exe",
        "OpenUrl\thttps://kb.tovarin.example/\xE6\x90\x9C\xE7\xB4\xA2\\t1",
        "OpenUrl\t(null)",
    };
    EXPECT_EQ(expected, journal.Lines());
}

TEST(FeedbackLibrary, KeepsTheAnswerInTheApplicationDataFolder)
{
    CFeedbackLibrary library;
    ASSERT_TRUE(library.LoadFeedbackLibrary());
    const std::wstring answers = CommonAppDataFolder() + L"\\Tovarin\\Feedback\\answers.txt";
    std::string unique = std::to_string(::GetTickCount());
    std::wstring time(unique.begin(), unique.end());

    EXPECT_EQ(1, library.CustomerFeedbackEx(TOOL_ID, TOOL_VERSION, 1, time.c_str()));
    EXPECT_EQ(1, library.CustomerFeedbackEx(L"10046", L"1.0.3", 2, (time + L"\n").c_str()));
    EXPECT_EQ(0, library.CustomerFeedbackEx(TOOL_ID, TOOL_VERSION, 2, nullptr));

    std::vector<std::string> lines = ReadLines(answers);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("10046\t1.0.3\t1\t" + unique, lines[lines.size() - 2]);
    EXPECT_EQ("10046\t1.0.3\t2\t" + unique + "\\n", lines.back());
}

TEST(FeedbackLibrary, AnswersAsTheStandinsSettingsSay)
{
    CFeedbackLibrary library;
    ASSERT_TRUE(library.LoadFeedbackLibrary());
    EXPECT_EQ(1, library.InitFreedbackDll());
    EXPECT_EQ(0, library.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION));
    {
        ScopedVariable init(L"VESKAR_FEEDBACK_INIT", L"0");
        ScopedVariable newVersion(L"VESKAR_FEEDBACK_NEW_VERSION", L"3");
        EXPECT_EQ(0, library.InitFreedbackDll());
        EXPECT_EQ(3, library.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION));
    }
    {
        ScopedVariable newVersion(L"VESKAR_FEEDBACK_NEW_VERSION", L" -7 ");
        EXPECT_EQ(-7, library.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION));
        EXPECT_EQ(-1, library.GetToolIsNewVersion(nullptr, TOOL_VERSION));
    }
    {
        ScopedVariable newVersion(L"VESKAR_FEEDBACK_NEW_VERSION", L"3 versions");
        EXPECT_EQ(0, library.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION));
        ScopedVariable init(L"VESKAR_FEEDBACK_INIT", L"99999999999");
        EXPECT_EQ(1, library.InitFreedbackDll());
    }
}

TEST(FeedbackLibrary, NothingIsCalledOnceFreed)
{
    CallJournal journal;
    CFeedbackLibrary library;
    ASSERT_TRUE(library.LoadFeedbackLibrary());
    library.FreeFeedbackLibrary();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(nullptr, ::GetModuleHandleW(LibraryBesideProgram().c_str()));

    EXPECT_EQ(0, library.InitFreedbackDll());
    EXPECT_EQ(0, library.FeedbackQuestion(TOOL_ID, TOOL_VERSION));
    EXPECT_EQ(0, library.OpenUrl(kKnowledgeBaseRoot));
    EXPECT_EQ(0, library.CustomerFeedbackEx(TOOL_ID, TOOL_VERSION, 1, L"0"));
    EXPECT_EQ(0, library.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION));
    EXPECT_EQ(0, library.OpenToolDownUrl());
    library.FreeFeedbackLibrary();
    EXPECT_TRUE(journal.Lines().empty());
}

// The library is looked for beside the program only, by its full path, and only a complete
// library binds.
TEST(FeedbackLibrary, BindsOnlyACompleteLibraryFromTheProgramsOwnFolder)
{
    const std::wstring probe = ProgramFolder() + L"feedback_probe.exe";
    const std::wstring lacking = ProgramFolder() + L"lacking\\" + CFeedbackLibrary::kFileName;

    ScratchFolder complete(ScratchPath(L"tool folder"));
    ASSERT_TRUE(complete.CopyIn(probe, L"feedback_probe.exe"));
    ASSERT_TRUE(complete.CopyIn(LibraryBesideProgram(), CFeedbackLibrary::kFileName));
    EXPECT_EQ(0u, RunProbe(complete, complete.Path()));

    ScratchFolder missing(ScratchPath(L"missing"));
    ASSERT_TRUE(missing.CopyIn(probe, L"feedback_probe.exe"));
    EXPECT_EQ(2u, RunProbe(missing, complete.Path()));

    ScratchFolder lackingExport(ScratchPath(L"lacking"));
    ASSERT_TRUE(lackingExport.CopyIn(probe, L"feedback_probe.exe"));
    ASSERT_TRUE(lackingExport.CopyIn(lacking, CFeedbackLibrary::kFileName));
    EXPECT_EQ(2u, RunProbe(lackingExport, lackingExport.Path()));

    ScratchFolder notALibrary(ScratchPath(L"text"));
    ASSERT_TRUE(notALibrary.CopyIn(probe, L"feedback_probe.exe"));
    ASSERT_TRUE(notALibrary.WriteText(CFeedbackLibrary::kFileName, "not a library"));
    EXPECT_EQ(2u, RunProbe(notALibrary, notALibrary.Path()));
}
