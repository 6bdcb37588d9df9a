#pragma once

#include <windows.h>

// The unit of every size the program shows and takes.
const ULONGLONG kMiB = 1048576;
