#pragma once
// What the tests know of the tool: the controls its windows are found and driven by (the ids
// of the resource header), the pictures the screen is compared with, and where it keeps its
// agent. The texts of its results, its log's name and records and its feedback library's name
// come from the tool's own headers.
#include <windows.h>

#include "app/ToolTexts.h"
#include "repair/CFeedbackLibrary.h"
#include "repair/RepairSteps.h"
#include "res/resource.h"

namespace testsupport {

// The control that tells each window of the tool from the others.
constexpr int kPanelMarker = IDC_REPAIR;              // the panel's repair button
constexpr int kPromptMarker = IDC_PROMPT_TEXT;        // a prompt's text
constexpr int kBusyMarker = IDC_STATE_STATIC;         // the busy pop-up's animated text
constexpr int kFeedbackMarker = IDC_FEEDBACK_CLOSE;   // the problem-solving pop-up's close cross
constexpr int kAgreementMarker = IDC_AGREEMENT_EDIT;  // the agreement bubble's text

// The tool's pictures ("PNG" resources).
constexpr UINT kMainFramePicture = IDP_MAIN_FRAME;
constexpr UINT kPanelPicture = IDP_PANEL;
constexpr UINT kPromptPicture = IDP_PROMPT_FRAME;
constexpr UINT kPromptContentPicture = IDP_PROMPT_CONTENT;
// The repair button's looks: normal, under the pointer, pressed, disabled.
constexpr UINT kRepairNormalImage = IDP_REPAIR_NORMAL;
constexpr UINT kRepairHoverImage = IDP_REPAIR_HOVER;
constexpr UINT kRepairPressedImage = IDP_REPAIR_PRESSED;
constexpr UINT kRepairDisabledImage = IDP_REPAIR_DISABLED;

// Where the harness installs the agent stand-in, which the tool runs.
constexpr wchar_t kAgentPath[] = L"C:\\Program Files\\McAfee.com\\Agent\\McUpdate.exe";

}  // namespace testsupport
