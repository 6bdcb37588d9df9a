#pragma once

#include <string>

// The console companion's two streams, one line per call, each ended by
// CR LF. To a console the line goes as UTF-16, so that any path shows as it
// is; to a file or a pipe as UTF-8. A line is written at once, whole, from any
// thread.

// A step's result, on standard output: the lines scripts read.
void WriteOutput(const std::wstring& line);

// What went wrong, on standard error, after the program's name.
void WriteError(const std::wstring& line);
