#include "WinePaths.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

std::wstring HostPathToWindows(const std::string& hostPath)
{
    int length = ::MultiByteToWideChar(CP_UTF8, 0, hostPath.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1)
        ::MultiByteToWideChar(CP_UTF8, 0, hostPath.c_str(), -1, &wide[0], length);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return L"Z:" + wide;
}

std::wstring HostPathFromEnvironment(const char* variable)
{
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0')
        return std::wstring();
    return HostPathToWindows(value);
}
