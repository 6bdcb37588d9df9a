#include "DiskPlatform.h"

#include "framework/WineDetect.h"

const DiskPlatform& RealDiskPlatform()
{
    // Never on Windows: there the step needs a privilege and would expose
    // whatever the freed clusters held before.
    static const DiskPlatform platform = {
        ::CreateFileW,
        ::CreateFileMappingW,
        IsRunningOnWine() ? ::SetFileValidData : nullptr,
        ::SetEndOfFile,
        ::GetFileInformationByHandle,
        ::SetFileInformationByHandle,
        ::DeleteFileW,
        ::GetLastError,
        ::GetDiskFreeSpaceExW,
    };
    return platform;
}
