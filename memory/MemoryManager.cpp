#include "MemoryManager.h"

#include <exception>

CMemoryManager::CMemoryManager(const MemoryPlatform& platform) : m_blockCount(0), m_platform(platform)
{
}

CMemoryManager::~CMemoryManager()
{
    Free();
}

AllocResult CMemoryManager::Allocate(SIZE_T bytes, BOOL releaseOnFailure)
{
    Free();

    const SIZE_T wholeBlocks = bytes >> 20;
    const SIZE_T tail = bytes & (kBlockSize - 1);
    for (SIZE_T index = 0;; ++index)
    {
        SIZE_T size = kBlockSize;
        if (index == wholeBlocks)
        {
            if (tail == 0)
                return AllocResult::Success;
            size = tail;
        }

        AllocResult result = CommitBlock(index, size);
        if (result != AllocResult::Success)
        {
            if (releaseOnFailure)
                Free();
            return result;
        }
        ++m_blockCount;
        if (index + 1 > wholeBlocks)
            return AllocResult::Success;
    }
}

AllocResult CMemoryManager::CommitBlock(size_t index, SIZE_T size)
{
    // The entry is made before the block is asked for, so that a block the
    // system grants always has its place: none is ever left unrecorded.
    try
    {
        m_blocks.resize(index + 1);
    }
    catch (const std::exception&)
    {
        return AllocResult::Failed;
    }

    m_blocks[index] = m_platform.virtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READONLY);
    if (m_blocks[index] != nullptr)
        return AllocResult::Success;

    DWORD error = m_platform.getLastError();
    if (error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_COMMITMENT_LIMIT)
        return AllocResult::OutOfMemory;
    return AllocResult::Failed;
}

void CMemoryManager::Free()
{
    for (size_t index = 0; index < m_blockCount; ++index)
    {
        if (m_blocks[index] != nullptr)
        {
            m_platform.virtualFree(m_blocks[index], 0, MEM_RELEASE);
            m_blocks[index] = nullptr;
        }
    }
    m_blockCount = 0;
}

bool CMemoryManager::Touch(const volatile LONG* stop)
{
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    for (size_t index = 0; index < m_blockCount; ++index)
    {
        MEMORY_BASIC_INFORMATION info = {};
        DWORD previous = 0;
        if (*stop || m_platform.virtualQuery(m_blocks[index], &info, sizeof(info)) == 0 ||
            !m_platform.virtualProtect(m_blocks[index], info.RegionSize, PAGE_READWRITE, &previous))
            return false;
        auto* block = static_cast<BYTE*>(m_blocks[index]);
        for (SIZE_T offset = 0; offset < info.RegionSize; offset += system.dwPageSize)
            *reinterpret_cast<volatile SIZE_T*>(block + offset) = reinterpret_cast<SIZE_T>(block + offset);
    }
    return true;
}

SIZE_T CMemoryManager::GetAllocatedSize() const
{
    // Each block is an allocation of its own, so the region the system
    // reports at its base is exactly that block, rounded up to pages.
    SIZE_T total = 0;
    for (size_t index = 0; index < m_blockCount; ++index)
    {
        MEMORY_BASIC_INFORMATION info = {};
        m_platform.virtualQuery(m_blocks[index], &info, sizeof(info));
        total += info.RegionSize;
    }
    return total;
}
