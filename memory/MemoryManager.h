#pragma once

#include "MemoryPlatform.h"

#include <windows.h>

#include <vector>

enum class AllocResult
{
    Success = 0,
    Failed = 1,
    // The system is out of address space or commit: ERROR_NOT_ENOUGH_MEMORY
    // or ERROR_COMMITMENT_LIMIT.
    OutOfMemory = 2,
};

// Commits private, read-only memory in blocks of one mebibyte, each its own
// allocation, and releases it again. Untouched, the pages load the commit
// charge, not physical memory; touched, they take physical memory too.
class CMemoryManager
{
public:
    static const DWORD kBlockSize = 0x100000;

    // Going to the limit asks for the largest byte count there is.
    static const SIZE_T kLimitRequest = ~static_cast<SIZE_T>(0);

    // The largest request in whole mebibytes that the program takes, in the
    // memory panel and on the console's command line alike: every whole MiB
    // of the largest byte count in the 32-bit edition (4,095), and 999,999
    // in the x64 edition, where the panel's arrows end too.
    static const SIZE_T kLargestRequestMb =
        kLimitRequest / kBlockSize < SIZE_T{999999} ? kLimitRequest / kBlockSize : SIZE_T{999999};

    explicit CMemoryManager(const MemoryPlatform& platform = SystemMemoryPlatform());
    virtual ~CMemoryManager();
    CMemoryManager(const CMemoryManager&) = delete;
    CMemoryManager& operator=(const CMemoryManager&) = delete;

    // Replaces what is held by a reservation of bytes: whole blocks, then
    // one block for the remainder. At the first refused block it stops; the
    // blocks committed before it are kept, or released when releaseOnFailure
    // is TRUE. Byte counts are as wide as the address space, so that the x64
    // edition is bounded by the system alone.
    AllocResult Allocate(SIZE_T bytes, BOOL releaseOnFailure);

    void Free();

    // Makes every page held writable and writes it once, so that the system
    // has to give each one physical memory. Each page gets a word of its own
    // (its address), so that no two pages are alike and none can be shared
    // or dropped as empty. Checks *stop before each block: false when it was
    // set, or a block could not be made writable, before every page was
    // written.
    bool Touch(const volatile LONG* stop);

    // The bytes really committed: every block rounded up to whole pages.
    SIZE_T GetAllocatedSize() const;

private:
    AllocResult CommitBlock(size_t index, SIZE_T size);

    std::vector<LPVOID> m_blocks;
    ULONGLONG m_blockCount;
    MemoryPlatform m_platform;
};
