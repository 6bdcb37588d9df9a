#pragma once

// A resource that only the framework's tests use; its number stays clear of
// the program's own.
#define IDS_TEST_LONG_TEXT      60000
