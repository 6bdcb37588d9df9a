#include "tests/support/Files.h"

#include "disk/DiskManager.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

namespace {

using namespace support;

// A platform call that refuses with g_error, for what the file system here
// cannot be made to do on demand; it gives the call's failure value.
DWORD g_error = 0;

template <class Result, LONG_PTR kFailure, class... Args>
Result WINAPI Refused(Args...)
{
    ::SetLastError(g_error);
    return Result(kFailure);
}

const std::string kForeign = "another program's file";
std::wstring g_swapFrom, g_swapTo;

// On ext4 a file made where one was just deleted may get its index: here every
// file does, so only the creation time tells them apart. While g_swapFrom is set,
// another program moves that file away just after it is read and puts its own there.
BOOL WINAPI SameIndexForEveryFile(HANDLE file, LPBY_HANDLE_FILE_INFORMATION info)
{
    BOOL read = ::GetFileInformationByHandle(file, info);
    info->nFileIndexHigh = 0;
    info->nFileIndexLow = 7;
    if (!g_swapFrom.empty() && ::MoveFileW(g_swapFrom.c_str(), g_swapTo.c_str()))
        WriteWholeFile(g_swapFrom, kForeign);
    return read;
}

class DiskEngine : public testing::Test
{
protected:
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
    std::wstring elsewhere = folder.Path(L"elsewhere.dat");
};

// A creation refused (on Windows the mapping allocates, on Wine the valid data
// length) is classified; a refused size leaves an empty file recorded.
TEST_F(DiskEngine, RefusalsAreClassifiedAndARefusedSizeLeavesAnEmptyRecordedFile)
{
    enum Step { Creation, Mapping, Allocation };
    const struct { Step step; DWORD error; DiskResult result; } cases[] = {
        {Creation, ERROR_ACCESS_DENIED, DiskResult::AccessDenied}, {Creation, ERROR_FILE_EXISTS, DiskResult::AlreadyExists},
        {Creation, ERROR_SHARING_VIOLATION, DiskResult::Error},    {Mapping, ERROR_DISK_FULL, DiskResult::DiskFull},
        {Mapping, ERROR_NOT_ENOUGH_MEMORY, DiskResult::Error},     {Allocation, ERROR_DISK_FULL, DiskResult::DiskFull},
        {Allocation, ERROR_INVALID_PARAMETER, DiskResult::Error},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.step << " refused with " << c.error);
        DiskPlatform platform = RealDiskPlatform();
        platform.setFileValidData = nullptr;
        if (c.step == Creation)
            platform.createFile = Refused<HANDLE, -1>;
        if (c.step == Mapping)
            platform.createFileMapping = Refused<HANDLE, 0>;
        if (c.step == Allocation)
            platform.setFileValidData = Refused<BOOL, FALSE>;
        g_error = c.error;
        CDiskManager manager(platform);
        EXPECT_EQ(c.result, manager.Reserve(target.c_str(), 4 * kMiB));
        EXPECT_EQ(c.step == Creation ? -1 : 0, FileSize(target));
        EXPECT_EQ(c.step == Creation ? DiskResult::NothingRecorded : DiskResult::Ok, manager.Release());
        EXPECT_EQ(-1, FileSize(target));
    }
}

// A file that took the recorded file's path is another program's: no
// deletion touches it, and the record of the file that was there is gone;
// nor is one swapped in between the check and the deletion touched.
TEST_F(DiskEngine, FileInTheRecordedFilesPlaceIsNeverDeleted)
{
    DiskPlatform platform = RealDiskPlatform();
    platform.getFileInformationByHandle = SameIndexForEveryFile;
    CDiskManager manager(platform);
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
    ASSERT_TRUE(::DeleteFileW(target.c_str()) && WriteWholeFile(target, kForeign));
    EXPECT_EQ(0u, manager.GetReservedSize());
    EXPECT_EQ(DiskResult::DeleteRefused, manager.Release());
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
    EXPECT_EQ(LONGLONG(kForeign.size()), FileSize(target));

    ASSERT_EQ(DiskResult::Ok, manager.Reserve(elsewhere.c_str(), kMiB));
    g_swapFrom = elsewhere;
    g_swapTo = folder.Path(L"moved.dat");
    EXPECT_EQ(DiskResult::Ok, manager.Release());
    g_swapFrom.clear();
    EXPECT_EQ(LONGLONG(kForeign.size()), FileSize(elsewhere));
}

// Our file, held open by another program that does not share deletion,
// stays recorded: nothing new is made beside it, and the next release,
// once it is free, deletes it.
TEST_F(DiskEngine, FileThatCannotBeDeletedNowStaysRecordedAndBlocksTheNextReservation)
{
    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
    HANDLE other = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_EQ(DiskResult::DeleteRefused, manager.Release());
    EXPECT_EQ(DiskResult::Error, manager.Reserve(elsewhere.c_str(), kMiB));
    EXPECT_EQ(-1, FileSize(elsewhere));
    ::CloseHandle(other);
    EXPECT_EQ(kMiB, manager.GetReservedSize());
    EXPECT_EQ(DiskResult::Ok, manager.Release());
    EXPECT_EQ(-1, FileSize(target));
}

} // namespace
