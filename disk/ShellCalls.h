#pragma once

#include <windows.h>

#include <shlobj.h>

// The shell and path functions of the disk panel, looked up when first called
// (framework/SystemLibrary.h), so that shell32, shlwapi and ole32 cost the
// program's start nothing. Each behaves as the Windows function it stands
// for (PathIsDirectoryW, PathAppendW, SHBrowseForFolderW,
// SHGetPathFromIDListW, CoTaskMemFree; named apart from them, since the
// system headers make macros of their names); where that cannot be found, it
// fails as the function does on an argument it cannot use.
namespace shell {

BOOL IsDirectory(LPCWSTR path);
BOOL AppendToPath(LPWSTR path, LPCWSTR more);

// The folder browser needs the thread's COM apartment (framework/ComApartment.h).
PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW* info);
BOOL GetPathFromIDList(PCIDLIST_ABSOLUTE item, LPWSTR path);
void TaskMemFree(void* memory);

} // namespace shell
