#include "DiskTestSupport.h"

#include "disk/DiskManager.h"

#include <gtest/gtest.h>

namespace {

using namespace disktest;

const ULONGLONG kMiB = 1048576;

class DiskManagerTest : public testing::Test
{
protected:
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
};

TEST_F(DiskManagerTest, ReservesAFileWhoseSpaceIsReallyAllocated)
{
    CDiskManager manager;
    EXPECT_EQ(0u, manager.GetReservedSize());

    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), 104857600));
    FileFacts facts = FactsOf(target);
    EXPECT_EQ(104857600, facts.size);
    // Not a sparse file: the blocks behind it are taken from the volume.
    EXPECT_GE(facts.allocated, 104857600);
    EXPECT_EQ(104857600u, manager.GetReservedSize());
}

TEST_F(DiskManagerTest, NewReservationReplacesTheOldOneAtTheSameOrAnotherPath)
{
    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), 1 * kMiB));
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), 3 * kMiB));
    EXPECT_EQ(LONGLONG(3 * kMiB), FileSize(target));
    EXPECT_EQ(3 * kMiB, manager.GetReservedSize());

    std::wstring elsewhere = folder.Path(L"other.dat");
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(elsewhere.c_str(), 2 * kMiB));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(2 * kMiB, manager.GetReservedSize());
}

TEST_F(DiskManagerTest, ForeignFileIsNeverTouched)
{
    const std::string content = "a file that belongs to someone else\r\n\x01\x02";
    ASSERT_TRUE(WriteWholeFile(target, content));
    std::wstring own = folder.Path(L"own.dat");
    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(own.c_str(), kMiB));

    EXPECT_EQ(DiskResult::AlreadyExists, manager.Reserve(target.c_str(), 2 * kMiB));
    EXPECT_EQ(content, ReadWholeFile(target));
    EXPECT_FALSE(FileExists(own));
    EXPECT_EQ(0u, manager.GetReservedSize());
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
    EXPECT_EQ(content, ReadWholeFile(target));
}

TEST_F(DiskManagerTest, ZeroBytesIsAnErrorThatLeavesAnEmptyRecordedFile)
{
    CDiskManager manager;
    EXPECT_EQ(DiskResult::Error, manager.Reserve(target.c_str(), 0));
    EXPECT_EQ(0, FileSize(target));
    EXPECT_EQ(0u, manager.GetReservedSize());
    EXPECT_EQ(DiskResult::Ok, manager.Release());
    EXPECT_FALSE(FileExists(target));
}

TEST_F(DiskManagerTest, MissingFolderIsAnErrorAndRecordsNothing)
{
    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
    std::wstring nowhere = folder.Path(L"missing\\Ortelan.dat");
    EXPECT_EQ(DiskResult::Error, manager.Reserve(nowhere.c_str(), kMiB));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
}

TEST_F(DiskManagerTest, ReleaseDeletesOnceAndReportsWhatItFound)
{
    CDiskManager manager;
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());

    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
    EXPECT_EQ(DiskResult::Ok, manager.Release());
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
}

TEST_F(DiskManagerTest, FileDeletedBehindItsBackIsRefusedOnceThenForgotten)
{
    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
    ASSERT_TRUE(::DeleteFileW(target.c_str()));
    EXPECT_EQ(0u, manager.GetReservedSize());
    EXPECT_EQ(DiskResult::DeleteRefused, manager.Release());
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
}

TEST_F(DiskManagerTest, FileThatTookTheRecordedPathIsNeverDeleted)
{
    // Two managers on one folder: the first one's file is deleted by hand and
    // the second makes its own there at once. On ext4 the new file gets the
    // old one's index; only its creation time tells it apart.
    std::wstring elsewhere = folder.Path(L"other.dat");
    const std::string content = "another program's";
    CDiskManager first;
    ASSERT_EQ(DiskResult::Ok, first.Reserve(target.c_str(), 2 * kMiB));
    ASSERT_TRUE(::DeleteFileW(target.c_str()));
    {
        CDiskManager second;
        ASSERT_EQ(DiskResult::Ok, second.Reserve(target.c_str(), 3 * kMiB));
        EXPECT_EQ(0u, first.GetReservedSize());
        EXPECT_EQ(DiskResult::DeleteRefused, first.Release());
        EXPECT_EQ(LONGLONG(3 * kMiB), FileSize(target));
        EXPECT_EQ(DiskResult::NothingRecorded, first.Release());

        // Another program replaces the recorded file with one of its own:
        // neither the next reservation nor the destructor deletes it.
        ASSERT_TRUE(::DeleteFileW(target.c_str()) && WriteWholeFile(target, content));
        ASSERT_EQ(DiskResult::Ok, second.Reserve(elsewhere.c_str(), kMiB));
        ASSERT_TRUE(::DeleteFileW(elsewhere.c_str()) && WriteWholeFile(elsewhere, content));
    }
    EXPECT_EQ(content, ReadWholeFile(target));
    EXPECT_EQ(content, ReadWholeFile(elsewhere));
}

TEST_F(DiskManagerTest, FileThatCannotBeDeletedYetStaysRecordedAndNothingIsMadeBesideIt)
{
    std::wstring elsewhere = folder.Path(L"other.dat");
    {
        CDiskManager manager;
        ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
        // Held open by a program that does not share deletion, then read-only.
        HANDLE other = ::CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, other);
        EXPECT_EQ(DiskResult::DeleteRefused, manager.Release());
        EXPECT_EQ(DiskResult::Error, manager.Reserve(elsewhere.c_str(), kMiB));
        ::CloseHandle(other);
        ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_EQ(DiskResult::DeleteRefused, manager.Release());
        EXPECT_EQ(DiskResult::Error, manager.Reserve(elsewhere.c_str(), kMiB));
        EXPECT_FALSE(FileExists(elsewhere));
        EXPECT_EQ(kMiB, manager.GetReservedSize());
        ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL));
    }
    EXPECT_FALSE(FileExists(target)) << "the destructor tries again";
}

TEST_F(DiskManagerTest, FileHeldOpenByAnotherProgramReadsAsZero)
{
    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
    HANDLE other = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_EQ(0u, manager.GetReservedSize());
    ::CloseHandle(other);
    // Read afresh each time, never remembered.
    EXPECT_EQ(kMiB, manager.GetReservedSize());
}

TEST_F(DiskManagerTest, DestructionDeletesTheHeldFile)
{
    {
        CDiskManager manager;
        ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), kMiB));
        ASSERT_TRUE(FileExists(target));
    }
    EXPECT_FALSE(FileExists(target));
}

TEST_F(DiskManagerTest, PathMustFitTheRecord)
{
    // Nested folders bring the path to exactly 519 code units, the most the
    // record holds, and to 520, one too many.
    std::wstring deep = folder.Subfolder(std::wstring(200, L'd'));
    deep += L"\\" + std::wstring(200, L'e');
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    size_t room = 519 - deep.size() - 1;
    ASSERT_LT(room, 255u);
    std::wstring longest = deep + L"\\" + std::wstring(room, L'f');
    std::wstring tooLong = longest + L"g";
    ASSERT_EQ(519u, longest.size());

    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(longest.c_str(), kMiB));
    EXPECT_EQ(kMiB, manager.GetReservedSize());

    EXPECT_EQ(DiskResult::Error, manager.Reserve(tooLong.c_str(), kMiB));
    EXPECT_FALSE(FileExists(tooLong));
    EXPECT_FALSE(FileExists(longest));
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
}

// Real volumes mounted by the CTest set-up.

TEST(DiskManagerOnSmallVolume, RequestAboveTheFreeSpaceIsDiskFullWithAnEmptyRecordedFile)
{
    TestVolume volume = SmallVolume();
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    std::wstring target = volume.path + L"\\Ortelan.dat";
    ULONGLONG freeBefore = FreeBytes(volume.path);
    ASSERT_GT(freeBefore, 8 * kMiB);

    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(target.c_str(), 8 * kMiB));
    EXPECT_LE(FreeBytes(volume.path), freeBefore - 8 * kMiB) << "the volume did not give the space";

    EXPECT_EQ(DiskResult::DiskFull, manager.Reserve(target.c_str(), 32 * kMiB));
    EXPECT_EQ(0, FileSize(target));
    EXPECT_EQ(0u, manager.GetReservedSize());
    EXPECT_EQ(freeBefore, FreeBytes(volume.path));
    EXPECT_EQ(DiskResult::Ok, manager.Release());
    EXPECT_FALSE(FileExists(target));
}

TEST(DiskManagerOnReadOnlyVolume, CreationIsAccessDeniedAndRecordsNothing)
{
    TestVolume volume = ReadOnlyVolume();
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    TempFolder folder;
    std::wstring held = folder.Path(L"Ortelan.dat");
    std::wstring target = volume.path + L"\\Ortelan.dat";

    CDiskManager manager;
    ASSERT_EQ(DiskResult::Ok, manager.Reserve(held.c_str(), kMiB));
    EXPECT_EQ(DiskResult::AccessDenied, manager.Reserve(target.c_str(), kMiB));
    EXPECT_FALSE(FileExists(held));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
}

// Failures Linux cannot produce, injected through the manager's platform.

DWORD g_injectedError = 0;

HANDLE WINAPI RefusingCreateFile(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    ::SetLastError(g_injectedError);
    return INVALID_HANDLE_VALUE;
}

HANDLE WINAPI RefusingMapping(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCWSTR)
{
    ::SetLastError(g_injectedError);
    return nullptr;
}

BOOL WINAPI RefusingValidData(HANDLE, LONGLONG)
{
    ::SetLastError(g_injectedError);
    return FALSE;
}

BOOL WINAPI RefusingInformation(HANDLE, LPBY_HANDLE_FILE_INFORMATION)
{
    ::SetLastError(g_injectedError);
    return FALSE;
}

TEST_F(DiskManagerTest, FileThatCannotBeIdentifiedIsNotKept)
{
    DiskPlatform platform = RealDiskPlatform();
    platform.getFileInformationByHandle = RefusingInformation;
    g_injectedError = ERROR_INVALID_FUNCTION;
    CDiskManager manager(platform);
    EXPECT_EQ(DiskResult::Error, manager.Reserve(target.c_str(), kMiB));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(DiskResult::NothingRecorded, manager.Release());
}

TEST_F(DiskManagerTest, CreateErrorsOtherThanDeniedOrExistingAreErrors)
{
    for (DWORD error : {ERROR_SHARING_VIOLATION, ERROR_WRITE_PROTECT, ERROR_INVALID_NAME})
    {
        DiskPlatform platform = RealDiskPlatform();
        platform.createFile = RefusingCreateFile;
        g_injectedError = error;
        CDiskManager manager(platform);
        EXPECT_EQ(DiskResult::Error, manager.Reserve(target.c_str(), kMiB)) << "error " << error;
        EXPECT_EQ(DiskResult::NothingRecorded, manager.Release()) << "error " << error;
    }
    g_injectedError = ERROR_ACCESS_DENIED;
    DiskPlatform platform = RealDiskPlatform();
    platform.createFile = RefusingCreateFile;
    EXPECT_EQ(DiskResult::AccessDenied, CDiskManager(platform).Reserve(target.c_str(), kMiB));
}

TEST_F(DiskManagerTest, MappingRefusedForLackOfSpaceIsDiskFull)
{
    // As on Windows: the mapping is the step that allocates, and it is the
    // one that reports a full disk; no further allocation step follows.
    DiskPlatform platform = RealDiskPlatform();
    platform.createFileMapping = RefusingMapping;
    platform.setFileValidData = nullptr;
    g_injectedError = ERROR_DISK_FULL;
    CDiskManager manager(platform);
    EXPECT_EQ(DiskResult::DiskFull, manager.Reserve(target.c_str(), 4 * kMiB));
    EXPECT_EQ(0, FileSize(target));
    EXPECT_EQ(0u, manager.GetReservedSize());

    g_injectedError = ERROR_NOT_ENOUGH_MEMORY;
    EXPECT_EQ(DiskResult::Error, manager.Reserve(target.c_str(), 4 * kMiB));
    EXPECT_EQ(0, FileSize(target));
    EXPECT_EQ(DiskResult::Ok, manager.Release());
    EXPECT_FALSE(FileExists(target));
}

TEST_F(DiskManagerTest, RefusedAllocationLeavesTheFileEmpty)
{
    // The mapping has already given the file its size when the allocation
    // step fails; the file must not keep that size without its blocks.
    DiskPlatform platform = RealDiskPlatform();
    platform.setFileValidData = RefusingValidData;
    CDiskManager manager(platform);
    g_injectedError = ERROR_INVALID_PARAMETER;
    EXPECT_EQ(DiskResult::Error, manager.Reserve(target.c_str(), 4 * kMiB));
    EXPECT_EQ(0, FileSize(target));

    g_injectedError = ERROR_DISK_FULL;
    EXPECT_EQ(DiskResult::DiskFull, manager.Reserve(target.c_str(), 4 * kMiB));
    EXPECT_EQ(0, FileSize(target));
    EXPECT_EQ(0u, manager.GetReservedSize());
    EXPECT_EQ(DiskResult::Ok, manager.Release());
}

} // namespace
