#include "RecordingPlatform.h"

#include "memory/MemoryManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

// This test program's free store can be told to refuse, so that the
// manager's list of blocks cannot grow.
namespace {
bool g_refuseAllocations = false;
}

void* operator new(std::size_t size)
{
    void* memory = g_refuseAllocations ? nullptr : std::malloc(size != 0 ? size : 1);
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

TEST(MemoryManagerBlockList, UngrowableListFailsWithoutLosingABlock)
{
    const DWORD kMiB = 1048576;
    for (BOOL releaseOnFailure : {FALSE, TRUE})
    {
        SCOPED_TRACE(releaseOnFailure);
        recording::Reset();
        CMemoryManager manager(recording::Platform());
        // Room for two entries; a third needs the list to grow.
        ASSERT_EQ(AllocResult::Success, manager.Allocate(2 * kMiB, TRUE));

        g_refuseAllocations = true;
        AllocResult result = manager.Allocate(5 * kMiB, releaseOnFailure);
        g_refuseAllocations = false;

        EXPECT_EQ(AllocResult::Failed, result);
        EXPECT_EQ(releaseOnFailure ? 0u : 2 * kMiB, manager.GetAllocatedSize());
        manager.Free();
        EXPECT_EQ(4, recording::Current().commits);
        EXPECT_EQ(4, recording::Current().releases);
    }
}

} // namespace
