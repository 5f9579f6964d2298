#pragma once
// Resources of the skin tests only.
#define IDD_SKIN_CONTROLS 3000
#define IDC_TEST_PNG 3001
#define IDC_TEST_FEATURE 3002
#define IDC_TEST_CHECK 3003
#define IDC_TEST_TEXT 3004
#define IDC_TEST_STATE 3005

// A "PNG" resource whose data is not a decodable PNG.
#define IDP_DAMAGED_PNG 901
// An id with no "PNG" resource.
#define IDP_MISSING_PNG 192
