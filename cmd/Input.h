#pragma once

#include <windows.h>

// A thread's procedure that ends when Enter is pressed in the console, or,
// when the standard input is a file or a pipe, at its first line end or its
// end; at once when there is no standard input at all.
DWORD WINAPI WaitForEnter(LPVOID);
