#pragma once

#include <string>

// The Windows form (drive Z:) of a host path handed over by the test set-up.
std::wstring HostPathToWindows(const std::string& hostPath);

// An environment variable holding a host path, in Windows form; empty when
// the variable is not set.
std::wstring HostPathFromEnvironment(const char* variable);
