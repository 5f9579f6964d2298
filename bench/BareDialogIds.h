#pragma once
#define IDD_BARE 100
// The bare dialog's one control: the benchmark finds the window by it.
#define IDC_BARE_TEXT 1100
