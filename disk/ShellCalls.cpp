#include "ShellCalls.h"

#include "framework/SystemLibrary.h"

#include <shlwapi.h>

namespace shell {

BOOL IsDirectory(LPCWSTR path)
{
    static const auto call = SystemProc<decltype(&::PathIsDirectoryW)>(L"shlwapi.dll", "PathIsDirectoryW");
    return call != nullptr && call(path) ? TRUE : FALSE;
}

BOOL AppendToPath(LPWSTR path, LPCWSTR more)
{
    static const auto call = SystemProc<decltype(&::PathAppendW)>(L"shlwapi.dll", "PathAppendW");
    return call != nullptr ? call(path, more) : FALSE;
}

PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW* info)
{
    static const auto call = SystemProc<decltype(&::SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
    return call != nullptr ? call(info) : nullptr;
}

BOOL GetPathFromIDList(PCIDLIST_ABSOLUTE item, LPWSTR path)
{
    static const auto call =
        SystemProc<decltype(&::SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
    return call != nullptr ? call(item, path) : FALSE;
}

void TaskMemFree(void* memory)
{
    static const auto call = SystemProc<decltype(&::CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    if (call != nullptr)
        call(memory);
}

} // namespace shell
