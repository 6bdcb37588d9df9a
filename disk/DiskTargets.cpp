#include "DiskTargets.h"

namespace {

// The free space reported may be more than can be allocated; step down
// until the file system accepts a size.
DiskResult ReserveUpTo(CDiskManager& manager, LPCWSTR path, ULONGLONG bytes)
{
    for (;;)
    {
        DiskResult result = manager.Reserve(path, bytes);
        if (result != DiskResult::DiskFull || bytes < kDiskLimitStep)
            return result;
        bytes -= kDiskLimitStep;
        if (bytes == 0)
            return result;
    }
}

} // namespace

DiskResult ReserveToLimit(CDiskManager& manager, LPCWSTR folder, LPCWSTR path, ULONGLONG& available)
{
    manager.Release();
    available = manager.AvailableBytes(folder);
    if (available == 0)
        return DiskResult::DiskFull;
    return ReserveUpTo(manager, path, available);
}
