// RunCommand with real commands through the system's command interpreter and the agent
// stand-in: output, chunks, zero bytes, refusals, the bound and a planted interpreter.
#include <gtest/gtest.h>

#include <thread>

#include "framework/Handles.h"
#include "framework/SystemFolders.h"
#include "repair/RunCommand.h"
#include "tests/repair/ChildProcess.h"
#include "tests/support/Files.h"
#include "tests/support/Standins.h"
#include "tests/support/Tool.h"

using namespace testsupport;

namespace {

constexpr DWORD kShortBoundMs = 4000;
// A moment's grace: ending a job's processes is not instantaneous.
constexpr DWORD kEndGraceMs = 2000;

// The interpreter that started the held agent, as it was started.
void ExpectInterpreterStartedBareOf(const AgentSession& agent, HANDLE ours)
{
    std::vector<AgentRun> journal;
    for (int wait = 0; wait < 300 && journal.empty(); ++wait) {
        ::Sleep(10);
        journal = agent.Journal();
    }
    ASSERT_EQ(journal.size(), 1u) << "the agent did not start";
    const UniqueHandle interpreter(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE,
                                                 FALSE, ParentProcessId(journal[0].pid)));
    StartParameters started;
    ASSERT_TRUE(interpreter.Valid() && ReadStartParameters(interpreter.Get(), started));

    EXPECT_EQ(started.commandLine, L"cmd /D /C \"" + std::wstring(kAgentPath) + L"\" /removeproductsstatus");
    EXPECT_EQ(started.currentFolder, SystemFolder() + L"\\");
    const UniqueHandle nullDevice(::CreateFileW(L"NUL", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(ObjectName(interpreter.Get(), started.standardInput),
              ObjectName(::GetCurrentProcess(), nullDevice.Get()));
    EXPECT_FALSE(HoldsInherited(interpreter.Get(), ours)) << "an inheritable handle of ours reached the interpreter";
}

TEST(RunCommand, CollectsTheCommandsLinesAfterWhatTheOutputHeld)
{
    AgentSession agent(nullptr);  // the stand-in's default: a few lines
    std::wstring output = L"earlier|";
    EXPECT_TRUE(RunCommand(AgentCommand(L"/x"), output));
    EXPECT_EQ(output, L"earlier|McUpdate /x\r\nProduct status updated.\r\nDone.\r\n");
    const std::vector<AgentRun> journal = agent.Journal();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].program, "McUpdate.exe");
    EXPECT_EQ(journal[0].arguments, "/x");
}

TEST(RunCommand, QuietCommandSucceedsWithNothingAdded)
{
    AgentSession agent(L"quiet");
    std::wstring output;
    EXPECT_TRUE(RunCommand(AgentCommand(L"/removeproductsstatus"), output));
    EXPECT_EQ(output, L"");
    EXPECT_EQ(agent.Journal().size(), 1u);
}

TEST(RunCommand, OutputOfSeveralChunksArrivesWholeAndInOrder)
{
    AgentSession agent(L"chunks");
    std::wstring output;
    EXPECT_TRUE(RunCommand(AgentCommand(L"/x"), output));
    std::wstring expected;
    for (int line = 0; line < 200; ++line) {
        wchar_t text[64];
        swprintf(text, 64, L"McUpdate output line %04d ", line);
        std::wstring row(text);
        row.resize(48, L'.');
        expected += row + L"\r\n";
    }
    ASSERT_GT(expected.size(), 2u * 4095u);
    EXPECT_EQ(output, expected);
}

TEST(RunCommand, AChunkEndsAtItsFirstZeroByte)
{
    AgentSession agent(L"zero");
    std::wstring output;
    EXPECT_TRUE(RunCommand(AgentCommand(L"/x"), output));
    EXPECT_EQ(output, L"before");
}

TEST(RunCommand, ExitCodeDecidesNothing)
{
    AgentSession agent(L"fail");
    std::wstring output;
    EXPECT_TRUE(RunCommand(AgentCommand(L"/x"), output));
    EXPECT_EQ(output, L"McUpdate: the product status could not be changed.\r\n");
}

TEST(RunCommand, ACommandTooLongForTheCommandLineIsNotStarted)
{
    AgentSession agent(L"quiet");
    std::wstring output = L"unchanged";
    EXPECT_FALSE(RunCommand(AgentCommand(L"/x " + std::wstring(2100, L'a')), output));
    EXPECT_EQ(output, L"unchanged");
    EXPECT_TRUE(agent.Journal().empty());
    // The longest command that fits still runs: "cmd /D /C " and the command in 2047 characters.
    const std::wstring fitting = AgentCommand(L"/x ");
    EXPECT_TRUE(RunCommand(fitting + std::wstring(2047 - 10 - fitting.size(), L'b'), output));
    EXPECT_EQ(agent.Journal().size(), 1u);
}

TEST(RunCommand, ANeverEndingCommandIsEndedAtTheBound)
{
    AgentSession agent(L"hang");
    std::wstring output;
    EXPECT_FALSE(RunCommand(AgentCommand(L"/x"), output, kShortBoundMs));
    EXPECT_EQ(output, L"McUpdate: waiting forever.\r\n");
    const std::vector<AgentRun> journal = agent.Journal();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_TRUE(ProcessEnded(journal[0].pid, kEndGraceMs));
}

// Read while the agent is held running: the fixed command line, the system folder to work in,
// the null device for input, and none of our inheritable handles but the pipe's write end.
TEST(RunCommand, TheInterpreterGetsItsCommandLineFolderAndInputFromUsAndNoOtherHandle)
{
    AgentSession agent(L"hang");
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    const UniqueHandle ours(::CreateEventW(&inheritable, TRUE, FALSE, nullptr));
    ASSERT_TRUE(HoldsInherited(::GetCurrentProcess(), ours.Get())) << "the handle comparison itself does not work";

    std::wstring output;
    bool ran = true;
    std::thread command([&] { ran = RunCommand(AgentCommand(L"/removeproductsstatus"), output, kShortBoundMs); });
    ExpectInterpreterStartedBareOf(agent, ours.Get());
    command.join();
    EXPECT_FALSE(ran) << "the held agent is ended at the bound";
}

// The agent ends at once but leaves a process that holds the pipe's write end.
TEST(RunCommand, AProcessLeftHoldingThePipeIsEndedAtTheBound)
{
    AgentSession agent(L"child");
    std::wstring output;
    EXPECT_FALSE(RunCommand(AgentCommand(L"/x"), output, kShortBoundMs));
    EXPECT_EQ(output, L"McUpdate: left a helper behind.\r\n");
    const std::vector<AgentRun> journal = agent.Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[1].arguments, "/linger");
    EXPECT_TRUE(ProcessEnded(journal[0].pid, kEndGraceMs));
    EXPECT_TRUE(ProcessEnded(journal[1].pid, kEndGraceMs));
}

TEST(RunCommand, APlantedInterpreterNeverRuns)
{
    AgentSession agent(L"quiet");
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    PlantedInterpreter besideProgram(ProgramFolder());
    PlantedInterpreter inCurrentFolder(agent.Folder().Path());
    ASSERT_TRUE(besideProgram.Planted());
    ASSERT_TRUE(inCurrentFolder.Planted());
    ASSERT_TRUE(::SetCurrentDirectoryW(agent.Folder().Path().c_str()));

    std::wstring output;
    const bool ran = RunCommand(AgentCommand(L"/x"), output);
    ::SetCurrentDirectoryW(previous);

    EXPECT_TRUE(ran);
    const std::vector<AgentRun> journal = agent.Journal();
    ASSERT_EQ(journal.size(), 1u);  // the agent, started by the real interpreter
    EXPECT_EQ(journal[0].program, "McUpdate.exe");
    EXPECT_EQ(journal[0].arguments, "/x");
}

}  // namespace
