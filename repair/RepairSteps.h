#pragma once
// What the repair runs and what it writes to its log when a step fails. The tests check the
// same texts, so they live here rather than in the task's own file.

// The agent's place under the Program Files folder.
inline constexpr wchar_t kAgentInProgramFiles[] = L"\\McAfee.com\\Agent\\McUpdate.exe";

// One command given to the agent, and the record the repair log keeps when it fails.
struct AgentStep {
    const wchar_t* agentSwitch;
    const wchar_t* failedRecord;
};
inline constexpr AgentStep kRemoveStep = {L"/removeproductsstatus", L"执行修复removeproductsstatus命令失败"};
inline constexpr AgentStep kSubmitStep = {L"/submitproductsstatus", L"执行修复submitproductsstatus命令失败"};

// The repair log, in the log folder, and the record of a worker that could not be started.
inline constexpr wchar_t kRepairLogFile[] = L"Quenmar软件名称显示乱码修复工具.txt";
inline constexpr wchar_t kThreadFailedRecord[] = L"创建修复Quenmar软件名称显示乱码线程失败";
