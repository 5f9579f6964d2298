#pragma once
// What the tests know of the tool: the controls its windows are found and driven by (the ids
// of the resource header), the pictures the screen is compared with, the texts of its
// results, and where it keeps its agent, its log and its feedback library.
#include <windows.h>

#include "res/resource.h"

namespace testsupport {

// The control that tells each window of the tool from the others.
constexpr int kPanelMarker = IDC_REPAIR;              // the panel's repair button
constexpr int kPromptMarker = IDC_PROMPT_TEXT;        // a prompt's text
constexpr int kBusyMarker = IDC_STATE_STATIC;         // the busy pop-up's animated text
constexpr int kFeedbackMarker = IDC_FEEDBACK_CLOSE;   // the problem-solving pop-up's close cross
constexpr int kAgreementMarker = IDC_AGREEMENT_EDIT;  // the agreement bubble's text

// The tool's pictures ("PNG" resources).
constexpr UINT kMainFramePicture = 138;
constexpr UINT kPanelPicture = 139;
constexpr UINT kPromptPicture = 151;
constexpr UINT kPromptContentPicture = 152;
// The repair button's looks: normal, under the pointer, pressed, disabled.
constexpr UINT kRepairNormalImage = 188;
constexpr UINT kRepairHoverImage = 189;
constexpr UINT kRepairPressedImage = 190;
constexpr UINT kRepairDisabledImage = 191;

// The result prompts' texts and the record a failed repair leaves in the log.
constexpr wchar_t kSucceededText[] = L"修复Quenmar软件名称显示乱码成功！";
constexpr wchar_t kFailedText[] = L"修复Quenmar软件名称显示乱码失败！";
constexpr wchar_t kRemoveFailedRecord[] = L"执行修复removeproductsstatus命令失败";

// Where the harness installs the agent stand-in, which the tool runs.
constexpr wchar_t kAgentPath[] = L"C:\\Program Files\\McAfee.com\\Agent\\McUpdate.exe";
// The repair log's name, in the ToolLog folder of the machine-wide application-data folder.
constexpr wchar_t kRepairLogName[] = L"Quenmar软件名称显示乱码修复工具.txt";
// The feedback library, which the tool binds from its own folder.
constexpr wchar_t kLibraryName[] = L"TovarinFeedbackInformation.dll";

}  // namespace testsupport
