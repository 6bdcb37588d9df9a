#pragma once

// Resources that only the framework's tests use; their numbers stay clear of
// the program's own.
#define IDS_TEST_LONG_TEXT      60000
#define IDD_TEST_DIALOG         9001
#define IDC_TEST_BUTTON         9002
#define IDC_TEST_EDIT           9003
