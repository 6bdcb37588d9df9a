#include "tests/support/Files.h"

#include "disk/DiskTargets.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace support;

// A volume around the one real file: its free space is its capacity less the
// file's whole 4 KiB blocks and `overhead` bytes of the file system's own,
// and it refuses sizes above `accepts` as full.
struct Volume
{
    std::wstring file;
    ULONGLONG capacity, overhead, accepts;
    std::vector<ULONGLONG> asked;
} g_volume;

BOOL WINAPI FreeSpace(LPCWSTR, PULARGE_INTEGER available, PULARGE_INTEGER, PULARGE_INTEGER)
{
    LONGLONG size = FileSize(g_volume.file);
    available->QuadPart = g_volume.capacity - (size > 0 ? (size + 4095) / 4096 * 4096 + g_volume.overhead : 0);
    return TRUE;
}

HANDLE WINAPI Mapping(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect, DWORD high, DWORD low, LPCWSTR)
{
    g_volume.asked.push_back((ULONGLONG{high} << 32) | low);
    if (g_volume.asked.back() <= g_volume.accepts)
        return ::CreateFileMappingW(file, security, protect, high, low, nullptr);
    ::SetLastError(ERROR_DISK_FULL);
    return nullptr;
}

class DiskTargets : public testing::Test
{
protected:
    void SetUp() override
    {
        platform.createFileMapping = Mapping;
        platform.setFileValidData = nullptr;
        platform.getDiskFreeSpaceEx = FreeSpace;
    }
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
    DiskPlatform platform = RealDiskPlatform();
    CDiskManager manager{platform};
};

// "限界作成" lowers a refused size by exactly 65,535 bytes each time.
TEST_F(DiskTargets, LimitStepsDownByExactly65535BytesWhileTheVolumeIsFull)
{
    const ULONGLONG free = 8 * kMiB + 12345;
    g_volume = {target, free, 0, free - 3 * 65535 - 1, {}};
    ULONGLONG available = 0;
    EXPECT_EQ(DiskResult::Ok, ReserveToLimit(manager, folder.Path().c_str(), target.c_str(), available));
    EXPECT_EQ(free, available);
    EXPECT_EQ((std::vector<ULONGLONG>{free, free - 65535, free - 2 * 65535, free - 3 * 65535, free - 4 * 65535}),
              g_volume.asked);
}

// A file system that takes a few blocks more than the file's size: the file
// is made smaller again, so that no less than the target is left.
TEST_F(DiskTargets, LeavingCorrectsTheFileUntilTheTargetIsLeft)
{
    g_volume = {target, 64 * kMiB, 3 * 4096, 64 * kMiB, {}};
    EXPECT_EQ(DiskResult::Ok, ReserveLeaving(manager, folder.Path().c_str(), target.c_str(), 40 * kMiB));
    ULARGE_INTEGER left = {};
    FreeSpace(nullptr, &left, nullptr, nullptr);
    EXPECT_GE(left.QuadPart, 40 * kMiB);
    EXPECT_LE(left.QuadPart, 40 * kMiB + 65535);
}

} // namespace
