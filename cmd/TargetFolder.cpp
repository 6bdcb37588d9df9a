#include "TargetFolder.h"

#include "disk/DiskManager.h"

#include <windows.h>

bool ResolveTargetFolder(const std::wstring& given, std::wstring& folder, std::wstring& target,
                         std::wstring& reason)
{
    // No file name holds a quote: this one came from "D:\Test\" on the
    // command line, where the backslash quoted the closing quote.
    if (given.find(L'"') != std::wstring::npos)
    {
        reason = L"a folder in quotes must not end in a backslash";
        return false;
    }
    DWORD length = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    folder.assign(length, L'\0');
    if (length == 0 || ::GetFullPathNameW(given.c_str(), length, &folder[0], nullptr) + 1 != length)
    {
        reason = L"not a folder's path";
        return false;
    }
    folder.resize(length - 1);
    target = folder;
    if (target.back() != L'\\')
        target += L'\\';
    target += kDiskFileName;
    if (target.size() >= static_cast<size_t>(kDiskPathLength))
    {
        reason = L"the path of " + std::wstring(kDiskFileName) + L" in it would be longer than " +
                 std::to_wstring(kDiskPathLength - 1) + L" characters";
        return false;
    }
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    {
        reason = L"no such folder";
        return false;
    }
    return true;
}
