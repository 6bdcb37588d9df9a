// Measures the manager's touching of what it holds (each block made
// read-write, then a word written in each page) against a bare loop that
// commits the same blocks read-write from the start and writes a byte in each
// page, in the same run. Only the writing is timed: the commit before it and
// the release after it are left out, and everything is released between
// rounds, so that every round touches pages the system has to find anew.
//   build/wine-exec.sh build/bench/touch_bench.exe
#include "bench/support/Measure.h"
#include "memory/MemoryManager.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const int kRounds = 5;
const SIZE_T kMebibyte = 1048576;

struct Size
{
    SIZE_T megabytes;
    const char* figure;
};

// A 32-bit process without the large-address flag has 2 GiB of address
// space, of which about 1.9 GiB can be committed in blocks of 1 MiB: 4 GiB
// is beyond the 32-bit edition. It touches 1.5 GiB instead, the largest
// round amount that still leaves room for its own heap and libraries, and
// the row says so. Only one side holds its blocks at a time.
#ifdef _WIN64
const Size kSizes[] = {{1024, "touch 1 GiB"}, {4096, "touch 4 GiB"}};
#else
const Size kSizes[] = {{1024, "touch 1 GiB"}, {1536, "touch 1.5 GiB (4 GiB is beyond 32-bit)"}};
#endif

DWORD PageSize()
{
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    return system.dwPageSize;
}

// The time of the touch alone, or a negative value when the memory could not
// be committed or touched.
double ManagerRound(CMemoryManager& manager, SIZE_T megabytes)
{
    if (manager.Allocate(megabytes * kMebibyte, TRUE) != AllocResult::Success)
        return -1;
    const volatile LONG stop = 0;
    double start = NowMs();
    bool touched = manager.Touch(&stop);
    double elapsed = NowMs() - start;
    manager.Free();
    return touched ? elapsed : -1;
}

double BareRound(std::vector<LPVOID>& blocks, SIZE_T megabytes)
{
    blocks.clear();
    for (SIZE_T i = 0; i < megabytes; ++i)
    {
        LPVOID block = ::VirtualAlloc(nullptr, kMebibyte, MEM_COMMIT, PAGE_READWRITE);
        if (block == nullptr)
            break;
        blocks.push_back(block);
    }
    const DWORD page = PageSize();
    double start = NowMs();
    for (LPVOID block : blocks)
    {
        auto* bytes = static_cast<volatile BYTE*>(block);
        for (SIZE_T offset = 0; offset < kMebibyte; offset += page)
            bytes[offset] = 1;
    }
    double elapsed = NowMs() - start;
    bool whole = blocks.size() == megabytes;
    for (LPVOID block : blocks)
        ::VirtualFree(block, 0, MEM_RELEASE);
    blocks.clear();
    return whole ? elapsed : -1;
}

} // namespace

int main()
{
    CMemoryManager manager;
    std::vector<LPVOID> blocks;
    int status = 0;
    for (const Size& size : kSizes)
    {
        blocks.reserve(size.megabytes);
        std::vector<double> managerMs;
        std::vector<double> bareMs;
        // By turns, each going first every other round, so that neither
        // always finds the pages the other just gave back.
        for (int round = 0; round < kRounds; ++round)
        {
            double m = 0;
            double b = 0;
            if (round % 2 == 0)
            {
                m = ManagerRound(manager, size.megabytes);
                b = BareRound(blocks, size.megabytes);
            }
            else
            {
                b = BareRound(blocks, size.megabytes);
                m = ManagerRound(manager, size.megabytes);
            }
            if (m < 0 || b < 0)
            {
                std::printf("%s: %lu MiB could not be committed and touched\n", size.figure,
                            static_cast<unsigned long>(size.megabytes));
                status = 1;
                break;
            }
            managerMs.push_back(m);
            bareMs.push_back(b);
        }
        if (managerMs.size() != kRounds)
            continue;

        std::printf("Touching %lu MiB (%lu pages), median of %d rounds, ms:\n", static_cast<unsigned long>(size.megabytes),
                    static_cast<unsigned long>(size.megabytes * kMebibyte / PageSize()), kRounds);
        std::printf("  %-34s", "CMemoryManager::Touch");
        for (double ms : managerMs)
            std::printf(" %8.1f", ms);
        std::printf("   median %8.1f  %.2f GiB/s\n", Median(managerMs), size.megabytes / 1024.0 / Median(managerMs) * 1000);
        std::printf("  %-34s", "read-write commit, a byte a page");
        for (double ms : bareMs)
            std::printf(" %8.1f", ms);
        std::printf("   median %8.1f  %.2f GiB/s\n", Median(bareMs), size.megabytes / 1024.0 / Median(bareMs) * 1000);
        PrintRow(size.figure, Median(managerMs), Median(bareMs), "bare read-write commit, a byte a page", "ms",
                 "<= 1.1x");
    }
    return status;
}
