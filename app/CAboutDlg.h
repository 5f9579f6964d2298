#pragma once
#include "framework/CDialogEx.h"
#include "res/resource.h"

// The about box of the system menu's about entry.
class CAboutDlg : public CDialogEx {
public:
    CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}
};
