#include "RecordingPlatform.h"

#include "memory/MemoryManager.h"

#include <gtest/gtest.h>

namespace {

const DWORD kMiB = 1048576;
const DWORD kPage = 4096;
const DWORD kLargestRequest = 0xFFFFFFFF;

// A 32-bit process that is not large-address aware has 2 GiB of address
// space, part of it taken by the program itself.
const DWORD kLimitAtLeast = 1024 * kMiB;
const DWORD kLimitBelow = 2048 * kMiB;

class MemoryManager : public testing::Test
{
protected:
    void SetUp() override { recording::Reset(); }

    recording::Record& record = recording::Current();
};

TEST_F(MemoryManager, RequestIsSplitIntoWholeBlocksAndOnePageExactTail)
{
    struct Case
    {
        DWORD bytes;
        int blocks;
        SIZE_T lastBlock;
        DWORD held;
    };
    const Case cases[] = {
        {1, 1, 1, kPage},
        {kMiB, 1, kMiB, kMiB},
        {kMiB + 1, 2, 1, kMiB + kPage},
        {3 * kMiB + kPage + 5, 4, kPage + 5, 3 * kMiB + 2 * kPage},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.bytes);
        recording::Reset();
        CMemoryManager manager(recording::Platform());
        EXPECT_EQ(AllocResult::Success, manager.Allocate(c.bytes, TRUE));
        EXPECT_EQ(c.blocks, record.commits);
        EXPECT_EQ(c.bytes, record.requestedBytes);
        EXPECT_EQ(c.lastBlock, record.lastSize);
        EXPECT_EQ(c.held, manager.GetAllocatedSize());
    }
}

TEST_F(MemoryManager, EachRequestReplacesTheReservation)
{
    CMemoryManager manager(recording::Platform());
    ASSERT_EQ(AllocResult::Success, manager.Allocate(100 * kMiB, TRUE));
    ASSERT_EQ(AllocResult::Success, manager.Allocate(100 * kMiB, TRUE));
    EXPECT_EQ(100 * kMiB, manager.GetAllocatedSize());
    EXPECT_EQ(100, record.releases);

    // Zero bytes: the reservation is released and nothing new is asked for.
    EXPECT_EQ(AllocResult::Success, manager.Allocate(0, TRUE));
    EXPECT_EQ(0u, manager.GetAllocatedSize());
    EXPECT_EQ(200, record.commits);
    EXPECT_EQ(200, record.releases);
}

TEST_F(MemoryManager, FreeReleasesEachBlockOnce)
{
    CMemoryManager manager(recording::Platform());
    manager.Free();
    EXPECT_EQ(0, record.releases);

    ASSERT_EQ(AllocResult::Success, manager.Allocate(3 * kMiB, TRUE));
    manager.Free();
    manager.Free();
    EXPECT_EQ(3, record.releases);
    EXPECT_EQ(0u, manager.GetAllocatedSize());
}

TEST_F(MemoryManager, DestructorReleasesWhatIsHeld)
{
    {
        CMemoryManager manager(recording::Platform());
        ASSERT_EQ(AllocResult::Success, manager.Allocate(10 * kMiB + 1, TRUE));
    }
    EXPECT_EQ(11, record.commits);
    EXPECT_EQ(11, record.releases);
}

TEST_F(MemoryManager, LimitRunKeepsEverythingBeforeTheRefusal)
{
    CMemoryManager manager(recording::Platform());
    ASSERT_EQ(AllocResult::Success, manager.Allocate(5 * kMiB, TRUE));

    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(kLargestRequest, FALSE));
    DWORD first = manager.GetAllocatedSize();
    EXPECT_GE(first, kLimitAtLeast);
    EXPECT_LT(first, kLimitBelow);
    // Only whole blocks: the run ends at the first refused one.
    EXPECT_EQ(static_cast<ULONGLONG>(record.commits - 5) * kMiB, first);
    EXPECT_EQ(record.requestedBytes - 5 * kMiB, first);

    // Freeing gives the address space back for the next run.
    manager.Free();
    EXPECT_EQ(0u, manager.GetAllocatedSize());
    EXPECT_EQ(record.commits, record.releases);
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(kLargestRequest, FALSE));
    DWORD second = manager.GetAllocatedSize();
    EXPECT_NEAR(static_cast<double>(first), static_cast<double>(second), 64.0 * kMiB);
}

TEST_F(MemoryManager, LimitRunWithReleaseOnFailureHoldsNothing)
{
    CMemoryManager manager(recording::Platform());
    ASSERT_EQ(AllocResult::Success, manager.Allocate(5 * kMiB, TRUE));
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(kLargestRequest, TRUE));
    EXPECT_EQ(0u, manager.GetAllocatedSize());
    EXPECT_GT(record.commits, 1000);
    EXPECT_EQ(record.commits, record.releases);
}

TEST_F(MemoryManager, RefusalIsClassifiedByTheLastError)
{
    struct Case
    {
        DWORD error;
        AllocResult result;
    };
    const Case cases[] = {
        {ERROR_NOT_ENOUGH_MEMORY, AllocResult::OutOfMemory},
        {ERROR_COMMITMENT_LIMIT, AllocResult::OutOfMemory},
        {ERROR_INVALID_PARAMETER, AllocResult::Failed},
        {ERROR_OUTOFMEMORY, AllocResult::Failed},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.error);
        recording::Reset();
        CMemoryManager manager(recording::Platform());

        recording::RefuseAfter(2, 1, c.error);
        EXPECT_EQ(c.result, manager.Allocate(5 * kMiB, FALSE));
        EXPECT_EQ(2 * kMiB, manager.GetAllocatedSize());

        recording::RefuseAfter(2, 1, c.error);
        EXPECT_EQ(c.result, manager.Allocate(5 * kMiB, TRUE));
        EXPECT_EQ(0u, manager.GetAllocatedSize());
        EXPECT_EQ(record.commits, record.releases);
    }
}

TEST_F(MemoryManager, RefusedFirstBlockLeavesItEmpty)
{
    CMemoryManager manager(recording::Platform());
    ASSERT_EQ(AllocResult::Success, manager.Allocate(4 * kMiB, TRUE));
    recording::RefuseAfter(0, 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(4 * kMiB, FALSE));
    EXPECT_EQ(0u, manager.GetAllocatedSize());
    EXPECT_EQ(4, record.releases);

    // The tail block is refused like any other.
    recording::RefuseAfter(1, 1, ERROR_COMMITMENT_LIMIT);
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(kMiB + 7, FALSE));
    EXPECT_EQ(kMiB, manager.GetAllocatedSize());
}

} // namespace
