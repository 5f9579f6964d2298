// Resource ids shared by the resource script and the code.
#pragma once

#include "pictures.h"

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_VESKAR_DIALOG 102
#define IDD_EXECUTE_PROMPT_CHILD 129
#define IDD_EXECUTE_PROMPT 130
#define IDD_FEEDBACK_CHILD 131
#define IDD_FEEDBACK 132
#define IDD_PROMPT_CHILD 133
#define IDD_PROMPT 134
#define IDD_TOOLTIP_CHILD 135
#define IDD_TOOLTIP 136
#define IDD_QUENMAR_REPAIR 137

// Strings and icon.
#define IDS_ABOUTBOX 101
#define IDR_MAINFRAME 128

// System menu command of the about entry.
#define IDM_ABOUTBOX 0x0010

// Controls.
#define IDC_STATE_STATIC 1000
#define IDC_FEEDBACK_CLOSE 1001
#define IDC_SOLVED 1002
#define IDC_UNSOLVED 1003
#define IDC_CLOSE 1004
#define IDC_PROMPT_TEXT 1005
#define IDC_PROMPT_OK 1006
#define IDC_PROMPT_CANCEL 1007
#define IDC_AGREEMENT_EDIT 1008
#define IDC_MINIMIZE 1010
#define IDC_REPAIR 1011
#define IDC_AGREE_CHECK 1012
#define IDC_VERSION 1013
#define IDC_AGREEMENT_LINK 1014
#define IDC_FEEDBACK_LINK 1015
#define IDC_MORE_SOLUTIONS 1016
#define IDC_MORE_TOOLS 1017

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
