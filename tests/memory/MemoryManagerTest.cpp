#include "RecordingPlatform.h"

#include "memory/MemoryManager.h"

#include <gtest/gtest.h>

namespace {

const DWORD kMiB = 1048576;

// A 32-bit process that is not large-address aware has 2 GiB of address
// space, part of it taken by the program itself.
void ExpectLimitOfA32BitProcess(DWORD bytes)
{
    EXPECT_GE(bytes, 1024 * kMiB);
    EXPECT_LT(bytes, 2048 * kMiB);
}

class MemoryManager : public testing::Test
{
protected:
    void SetUp() override { recording::Reset(); }

    CMemoryManager manager{recording::Platform()};
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
    } const cases[] = {{1, 1, 1, 4096}, {kMiB, 1, kMiB, kMiB}, {kMiB + 1, 2, 1, kMiB + 4096}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.bytes);
        recording::Reset();
        EXPECT_EQ(AllocResult::Success, manager.Allocate(c.bytes, TRUE));
        EXPECT_EQ(c.blocks, record.commits);
        EXPECT_EQ(c.bytes, record.requestedBytes);
        EXPECT_EQ(c.lastBlock, record.lastSize);
        EXPECT_EQ(c.held, manager.GetAllocatedSize());
    }
}

TEST_F(MemoryManager, EachRequestReplacesTheLastAndEveryBlockIsReleasedOnce)
{
    manager.Free();
    ASSERT_EQ(AllocResult::Success, manager.Allocate(100 * kMiB, TRUE));
    ASSERT_EQ(AllocResult::Success, manager.Allocate(100 * kMiB, TRUE));
    EXPECT_EQ(100 * kMiB, manager.GetAllocatedSize());
    EXPECT_EQ(100, record.releases);

    EXPECT_EQ(AllocResult::Success, manager.Allocate(0, TRUE));
    EXPECT_EQ(0u, manager.GetAllocatedSize());
    manager.Free();
    manager.Free();
    EXPECT_EQ(200, record.commits);
    EXPECT_EQ(200, record.releases);

    {
        CMemoryManager destroyed(recording::Platform());
        destroyed.Allocate(3 * kMiB + 1, TRUE);
    }
    EXPECT_EQ(record.commits, record.releases);
}

TEST_F(MemoryManager, LimitRunKeepsEverythingBeforeTheRefusal)
{
    ASSERT_EQ(AllocResult::Success, manager.Allocate(5 * kMiB, TRUE));
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(0xFFFFFFFF, FALSE));
    DWORD first = manager.GetAllocatedSize();
    ExpectLimitOfA32BitProcess(first);
    EXPECT_EQ(record.requestedBytes - 5 * kMiB, first);

    // Freeing gives the address space back for the next run.
    manager.Free();
    EXPECT_EQ(record.commits, record.releases);
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(0xFFFFFFFF, FALSE));
    EXPECT_NEAR(first, manager.GetAllocatedSize(), 64.0 * kMiB);

    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(0xFFFFFFFF, TRUE));
    EXPECT_EQ(0u, manager.GetAllocatedSize());
    EXPECT_EQ(record.commits, record.releases);
}

TEST_F(MemoryManager, RefusalIsClassifiedByTheLastError)
{
    struct Case
    {
        DWORD error;
        AllocResult result;
    } const cases[] = {{ERROR_NOT_ENOUGH_MEMORY, AllocResult::OutOfMemory},
                       {ERROR_COMMITMENT_LIMIT, AllocResult::OutOfMemory},
                       {ERROR_INVALID_PARAMETER, AllocResult::Failed},
                       {ERROR_OUTOFMEMORY, AllocResult::Failed}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.error);
        recording::RefuseAfter(2, 1, c.error);
        EXPECT_EQ(c.result, manager.Allocate(5 * kMiB, FALSE));
        EXPECT_EQ(2 * kMiB, manager.GetAllocatedSize());

        recording::RefuseAfter(2, 1, c.error);
        EXPECT_EQ(c.result, manager.Allocate(5 * kMiB, TRUE));
        EXPECT_EQ(0u, manager.GetAllocatedSize());
        EXPECT_EQ(record.commits, record.releases);
    }

    // The very first block refused: nothing is held, whatever was before.
    manager.Allocate(4 * kMiB, TRUE);
    recording::RefuseAfter(0, 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(4 * kMiB, FALSE));
    EXPECT_EQ(0u, manager.GetAllocatedSize());
}

} // namespace
