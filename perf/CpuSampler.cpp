#include "CpuSampler.h"

#include <pdhmsg.h>

const WCHAR kProcessorTimeCounterPath[] = L"\\Processor(_Total)\\% Processor Time";

namespace {

// The gap between the two readings of a cycle, and the pause after a cycle
// that could not measure; a stop request ends either at once.
const DWORD kSampleIntervalMs = 1000;

} // namespace

DWORD RunCpuSampler(volatile LONG* cpuUsage, const volatile BOOL* stopRequested, HANDLE stopEvent,
                    CSamplerPlatform& platform)
{
    PDH_HQUERY query = nullptr;
    PDH_HCOUNTER counter = nullptr;
    PDH_FMT_COUNTERVALUE value = {};
    bool measured = false;
    LONG lastUsage = 0;

    while (!*stopRequested)
    {
        if (platform.OpenQuery(&query) != ERROR_SUCCESS)
        {
            ::InterlockedExchange(cpuUsage, 0);
            platform.Wait(stopEvent, kSampleIntervalMs);
            continue;
        }
        if (platform.AddCounter(query, kProcessorTimeCounterPath, &counter) != ERROR_SUCCESS)
        {
            platform.CloseQuery(query);
            platform.Wait(stopEvent, kSampleIntervalMs);
            continue;
        }

        platform.CollectQueryData(query);
        platform.Wait(stopEvent, kSampleIntervalMs);
        platform.CollectQueryData(query);
        if (platform.GetFormattedCounterValue(counter, PDH_FMT_LONG, &value) == ERROR_SUCCESS
            && (value.CStatus == PDH_CSTATUS_VALID_DATA || value.CStatus == PDH_CSTATUS_NEW_DATA))
        {
            lastUsage = value.longValue;
            measured = true;
        }
        if (measured)
            ::InterlockedExchange(cpuUsage, lastUsage);

        platform.RemoveCounter(counter);
        platform.CloseQuery(query);
    }
    return 0;
}
