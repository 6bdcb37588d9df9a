#include "DiskTargets.h"

namespace {

// A file that leaves its target is made, measured and corrected at most this
// often: the file system's own overhead for a file moves the first result by
// a few blocks, and one correction is normally enough.
const int kLeaveRounds = 4;

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

ULONGLONG Distance(ULONGLONG a, ULONGLONG b)
{
    return a > b ? a - b : b - a;
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

DiskResult ReserveLeaving(CDiskManager& manager, LPCWSTR folder, LPCWSTR path, ULONGLONG leave)
{
    manager.Release();
    ULONGLONG held = 0;
    ULONGLONG left = manager.AvailableBytes(folder);
    for (int round = 1;; ++round)
    {
        // With the file held gone there would be no more than leave: there
        // is nothing to take.
        if (held + left <= leave)
        {
            manager.Release();
            return DiskResult::DiskFull;
        }
        DiskResult result = ReserveUpTo(manager, path, held + left - leave);
        if (result != DiskResult::Ok)
            return result;
        held = manager.GetReservedSize();
        left = manager.AvailableBytes(folder);
        if (left >= leave && left - leave <= kDiskLimitStep)
            return DiskResult::Ok;
        if (round == kLeaveRounds)
            return Distance(left, leave) <= kDiskLimitStep ? DiskResult::Ok : DiskResult::Error;
    }
}
