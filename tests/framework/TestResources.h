#pragma once

// Resources that only the framework's tests use; their numbers stay clear of
// the program's own.
#define IDS_TEST_LONG_TEXT      60000
#define IDD_TEST_DIALOG         9001
