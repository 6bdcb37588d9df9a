#include "RecordingPlatform.h"

#include "memory/MemoryManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

// This test program's own free store, which can be told to refuse, so that
// the manager's list of blocks cannot grow.
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

const DWORD kMiB = 1048576;

class RefusedAllocations
{
public:
    RefusedAllocations() { g_refuseAllocations = true; }
    ~RefusedAllocations() { g_refuseAllocations = false; }
};

TEST(MemoryManagerBlockList, UngrowableListFailsWithoutLosingABlock)
{
    for (BOOL releaseOnFailure : {FALSE, TRUE})
    {
        SCOPED_TRACE(releaseOnFailure);
        recording::Reset();
        CMemoryManager manager(recording::Platform());
        // Room for two entries; a third needs the list to grow.
        ASSERT_EQ(AllocResult::Success, manager.Allocate(2 * kMiB, TRUE));

        AllocResult result;
        {
            RefusedAllocations refused;
            result = manager.Allocate(5 * kMiB, releaseOnFailure);
        }
        EXPECT_EQ(AllocResult::Failed, result);
        EXPECT_EQ(releaseOnFailure ? 0u : 2 * kMiB, manager.GetAllocatedSize());
        EXPECT_EQ(4, recording::Current().commits);

        manager.Free();
        EXPECT_EQ(recording::Current().commits, recording::Current().releases);
    }
}

} // namespace
