// Measures the manager's run to the limit (commit until refused and total)
// and its release, each against a bare loop of the same system calls, in the
// same run.
//   build/wine-exec.sh build/bench/memory_bench.exe

#include "bench/support/Measure.h"
#include "memory/MemoryManager.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const DWORD kLargestRequest = 0xFFFFFFFF;
const int kRounds = 21;

struct Run
{
    double commitMs;
    double releaseMs;
    DWORD bytes;
    DWORD refusal;
};

Run ManagerRun(CMemoryManager& manager)
{
    double start = NowMs();
    manager.Allocate(kLargestRequest, FALSE);
    DWORD bytes = manager.GetAllocatedSize();
    double committed = NowMs();
    manager.Free();
    return {committed - start, NowMs() - committed, bytes, 0};
}

// The same calls without the manager: blocks of one mebibyte until the first
// refusal and one query each, then one release each.
Run BareRun(std::vector<LPVOID>& blocks)
{
    double start = NowMs();
    blocks.clear();
    DWORD refusal = 0;
    const DWORD whole = kLargestRequest >> 20;
    for (DWORD i = 0; i <= whole; ++i)
    {
        SIZE_T size = i < whole ? CMemoryManager::kBlockSize : (kLargestRequest & 0xFFFFF);
        LPVOID block = ::VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READONLY);
        if (block == nullptr)
        {
            refusal = ::GetLastError();
            break;
        }
        blocks.push_back(block);
    }
    DWORD bytes = 0;
    for (LPVOID block : blocks)
    {
        MEMORY_BASIC_INFORMATION info = {};
        ::VirtualQuery(block, &info, sizeof(info));
        bytes += static_cast<DWORD>(info.RegionSize);
    }
    double committed = NowMs();
    for (LPVOID block : blocks)
        ::VirtualFree(block, 0, MEM_RELEASE);
    return {committed - start, NowMs() - committed, bytes, refusal};
}

} // namespace

int main()
{
    CMemoryManager manager;
    std::vector<LPVOID> blocks;
    blocks.reserve(4096);

    // One warm-up of each, then alternate so that both see the same system.
    ManagerRun(manager);
    BareRun(blocks);

    std::vector<double> managerCommit;
    std::vector<double> managerRelease;
    std::vector<double> bareCommit;
    std::vector<double> bareRelease;
    Run m = {};
    Run b = {};
    for (int round = 0; round < kRounds; ++round)
    {
        m = ManagerRun(manager);
        b = BareRun(blocks);
        managerCommit.push_back(m.commitMs);
        managerRelease.push_back(m.releaseMs);
        bareCommit.push_back(b.commitMs);
        bareRelease.push_back(b.releaseMs);
    }

    std::printf("Memory to the limit, median of %d rounds:\n", kRounds);
    std::printf("  %-22s %12s %12s %10s\n", "", "commit ms", "release ms", "MiB held");
    std::printf("  %-22s %12.2f %12.2f %10lu\n", "CMemoryManager", Median(managerCommit), Median(managerRelease),
                m.bytes / CMemoryManager::kBlockSize);
    std::printf("  %-22s %12.2f %12.2f %10lu\n", "bare system calls", Median(bareCommit), Median(bareRelease),
                b.bytes / CMemoryManager::kBlockSize);
    std::printf("  the system refused the next block with error %lu\n", b.refusal);
    PrintRow("commit to the limit", Median(managerCommit), Median(bareCommit), "bare VirtualAlloc loop", "ms",
             "<= 1.05x");
    PrintRow("release", Median(managerRelease), Median(bareRelease), "bare VirtualFree loop", "ms", "<= 1.05x");
    return 0;
}
