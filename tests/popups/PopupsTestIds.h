#pragma once
// A stand-in for the main panel: an empty dialog that owns the agreement bubble.
#define IDD_TEST_PANEL 940
