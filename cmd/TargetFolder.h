#pragma once

#include <string>

// A path made whole, a relative one taken from the current folder; false
// when it is not a path.
bool FullPath(const std::wstring& given, std::wstring& full);

// The folder of /disk made whole (a relative one is taken from the current
// folder, as GetFullPathNameW does) and the path of Ortelan.dat in it. False
// with the reason when it is not an existing folder, or when the file's path
// would not fit the disk manager's record.
bool ResolveTargetFolder(const std::wstring& given, std::wstring& folder, std::wstring& target,
                         std::wstring& reason);
