#include "tests/support/Files.h"

#include "disk/DiskTargets.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace support;

// A volume of the test's making around the one real file: its free space is
// its capacity less what the file takes (whole 4 KiB blocks and `overhead`
// bytes of the file system's own), and it refuses sizes above `accepts` as
// full, as a volume does whose reported free space cannot all be allocated.
struct Volume
{
    std::wstring file;
    ULONGLONG capacity;
    ULONGLONG overhead;
    ULONGLONG accepts;
    std::vector<ULONGLONG> sizesAsked;
} g_volume;

BOOL WINAPI VolumeFreeSpace(LPCWSTR, PULARGE_INTEGER available, PULARGE_INTEGER, PULARGE_INTEGER)
{
    LONGLONG size = FileSize(g_volume.file);
    ULONGLONG taken = size > 0 ? (size + 4095) / 4096 * 4096 + g_volume.overhead : 0;
    available->QuadPart = taken < g_volume.capacity ? g_volume.capacity - taken : 0;
    return TRUE;
}

HANDLE WINAPI VolumeMapping(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect, DWORD high, DWORD low,
                            LPCWSTR name)
{
    ULONGLONG size = (ULONGLONG{high} << 32) | low;
    g_volume.sizesAsked.push_back(size);
    if (size <= g_volume.accepts)
        return ::CreateFileMappingW(file, security, protect, high, low, name);
    ::SetLastError(ERROR_DISK_FULL);
    return nullptr;
}

class DiskTargets : public testing::Test
{
protected:
    CDiskManager& Manager(ULONGLONG capacity, ULONGLONG overhead, ULONGLONG accepts)
    {
        g_volume = {target, capacity, overhead, accepts, {}};
        return manager;
    }

    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
    DiskPlatform platform = [] {
        DiskPlatform volume = RealDiskPlatform();
        volume.createFileMapping = VolumeMapping;
        volume.setFileValidData = nullptr;
        volume.getDiskFreeSpaceEx = VolumeFreeSpace;
        return volume;
    }();
    CDiskManager manager{platform};
};

// "限界作成": from the free space measured, 65,535 bytes less at each size
// the volume refuses, until one is accepted.
TEST_F(DiskTargets, LimitStepsDownByExactly65535BytesWhileTheVolumeIsFull)
{
    const ULONGLONG free = 8 * kMiB + 12345;
    CDiskManager& volume = Manager(free, 0, free - 3 * 65535 - 1);
    ULONGLONG available = 0;
    EXPECT_EQ(DiskResult::Ok, ReserveToLimit(volume, folder.Path().c_str(), target.c_str(), available));
    EXPECT_EQ(free, available);
    std::vector<ULONGLONG> steps;
    for (int step = 0; step <= 4; ++step)
        steps.push_back(free - step * 65535);
    EXPECT_EQ(steps, g_volume.sizesAsked);
    EXPECT_EQ(LONGLONG(free - 4 * 65535), FileSize(target));
}

// What is left ends within 65,535 bytes of the target and not below it,
// also where the file system takes more than the file's size; with no more
// than the target free, nothing is made.
TEST_F(DiskTargets, LeavingCorrectsTheFileUntilTheTargetIsLeft)
{
    const struct
    {
        ULONGLONG overhead;
        ULONGLONG leave;
        DiskResult result;
    } cases[] = {
        {3 * 4096, 40 * kMiB, DiskResult::Ok},
        {0, 0, DiskResult::Ok},
        {0, 64 * kMiB, DiskResult::DiskFull},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "leave " << c.leave << ", overhead " << c.overhead);
        CDiskManager& volume = Manager(64 * kMiB, c.overhead, 64 * kMiB);
        EXPECT_EQ(c.result, ReserveLeaving(volume, folder.Path().c_str(), target.c_str(), c.leave));
        ULARGE_INTEGER left = {};
        VolumeFreeSpace(nullptr, &left, nullptr, nullptr);
        if (c.result == DiskResult::Ok)
        {
            EXPECT_GE(left.QuadPart, c.leave);
            EXPECT_LE(left.QuadPart, c.leave + 65535);
        }
        else
        {
            EXPECT_EQ(-1, FileSize(target));
        }
        manager.Release();
    }
}

} // namespace
