#pragma once
#include "framework/CDialog.h"

// The extended dialog class of the classic frameworks; the program needs nothing beyond CDialog.
class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;
};
