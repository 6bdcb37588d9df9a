#include "TargetFolder.h"

#include "disk/DiskManager.h"

#include <windows.h>

bool FullPath(const std::wstring& given, std::wstring& full)
{
    DWORD length = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    full.assign(length, L'\0');
    if (length == 0 || ::GetFullPathNameW(given.c_str(), length, &full[0], nullptr) + 1 != length)
        return false;
    full.resize(length - 1);
    return true;
}

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
    if (!FullPath(given, folder))
    {
        reason = L"not a folder's path";
        return false;
    }
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
