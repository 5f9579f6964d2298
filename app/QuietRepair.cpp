#include "app/QuietRepair.h"

#include <windows.h>
#include <cstdlib>

#include "app/RunningCopy.h"
#include "app/ToolTexts.h"
#include "repair/CRepairTask.h"

namespace {

bool IsQuietSwitch(const std::wstring& argument)
{
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
        return false;
    }
    const std::wstring name = argument.substr(1);
    return ::lstrcmpiW(name.c_str(), L"quiet") == 0 || ::lstrcmpiW(name.c_str(), L"q") == 0;
}

bool IsUsageSwitch(const std::wstring& argument)
{
    return argument == L"/?" || argument == L"-?";
}

const wchar_t kUsageText[] =
    L"用法：Veskar.exe [/quiet | /q | /?]\n"
    L"\n"
    L"/quiet, /q\t不显示任何窗口，直接修复，完成后退出\n"
    L"/?\t显示本说明\n"
    L"\n"
    L"退出代码：\n"
    L"0\t修复成功\n"
    L"1\t修复失败（代理程序不存在、命令无法启动或超时）\n"
    L"2\t当前系统不是 Windows 10\n"
    L"3\t已有本工具在运行\n"
    L"4\t参数无法识别或工具无法启动";

}  // namespace

StartMode ParseStartMode(const std::vector<std::wstring>& arguments)
{
    if (arguments.empty()) {
        return StartMode::Interactive;
    }
    bool quiet = false;
    for (const std::wstring& argument : arguments) {
        if (IsUsageSwitch(argument)) {
            return StartMode::Usage;
        }
        if (!IsQuietSwitch(argument)) {
            return StartMode::Unknown;
        }
        quiet = true;
    }
    return quiet ? StartMode::Quiet : StartMode::Unknown;
}

// The run time's own split of the command line: the shell's library is not loaded for it.
std::vector<std::wstring> CommandLineArguments()
{
    std::vector<std::wstring> arguments;
    if (!__wargv) {
        return arguments;
    }
    for (int i = 1; i < __argc; ++i) {
        arguments.emplace_back(__wargv[i]);
    }
    return arguments;
}

int RunQuietRepair(const RunningCopyLock& runningCopy)
{
    if (!runningCopy.IsFirst()) {
        return kQuietAnotherCopyRuns;
    }
    // No window to tell: the repair runs on this thread and reports only through its result
    // and, on failure, its log record.
    CRepairTask task;
    if (!task.IsSupportedSystem()) {
        return kQuietUnsupportedSystem;
    }
    return task.DoRepair() ? kQuietRepaired : kQuietRepairFailed;
}

void ShowUsage()
{
    ::MessageBoxW(nullptr, kUsageText, kToolTitle, MB_OK | MB_ICONINFORMATION);
}
