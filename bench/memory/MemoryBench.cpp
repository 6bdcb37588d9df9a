// Measures the manager's run to the limit (commit until refused, total, and
// release) against a bare loop of the same system calls, in the same run.

#include "memory/MemoryManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const DWORD kLargestRequest = 0xFFFFFFFF;
const int kRounds = 21;

struct Run
{
    double seconds;
    DWORD bytes;
    DWORD refusal;
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

Run ManagerRun(CMemoryManager& manager)
{
    double start = Now();
    manager.Allocate(kLargestRequest, FALSE);
    DWORD bytes = manager.GetAllocatedSize();
    manager.Free();
    return {Now() - start, bytes, 0};
}

// The same calls without the manager: blocks of one mebibyte until the first
// refusal, one query each, one release each.
Run BareRun(std::vector<LPVOID>& blocks)
{
    double start = Now();
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
    for (LPVOID block : blocks)
        ::VirtualFree(block, 0, MEM_RELEASE);
    return {Now() - start, bytes, refusal};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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

    std::vector<double> managerTimes;
    std::vector<double> bareTimes;
    DWORD managerBytes = 0;
    DWORD bareBytes = 0;
    DWORD refusal = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        Run m = ManagerRun(manager);
        Run b = BareRun(blocks);
        managerTimes.push_back(m.seconds);
        bareTimes.push_back(b.seconds);
        managerBytes = m.bytes;
        bareBytes = b.bytes;
        refusal = b.refusal;
    }

    double managerMedian = Median(managerTimes);
    double bareMedian = Median(bareTimes);
    std::printf("limit run: commit until refused + total + release, median of %d rounds\n", kRounds);
    std::printf("  %-22s %10s %10s %12s\n", "", "median ms", "best ms", "MiB held");
    std::printf("  %-22s %10.2f %10.2f %12lu\n", "CMemoryManager", managerMedian * 1000.0,
                *std::min_element(managerTimes.begin(), managerTimes.end()) * 1000.0,
                managerBytes / CMemoryManager::kBlockSize);
    std::printf("  %-22s %10.2f %10.2f %12lu\n", "bare system calls", bareMedian * 1000.0,
                *std::min_element(bareTimes.begin(), bareTimes.end()) * 1000.0,
                bareBytes / CMemoryManager::kBlockSize);
    std::printf("  the system refused the next block with error %lu\n", refusal);
    std::printf("  ratio manager / bare (median): %.3f (goal <= 1.05)\n", managerMedian / bareMedian);
    return 0;
}
