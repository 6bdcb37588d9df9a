#pragma once

#include "SamplerPlatform.h"

// One reading of GetSystemTimes, in 100-nanosecond units. The kernel time
// includes the idle time.
struct SystemTimes
{
    ULONGLONG idle;
    ULONGLONG kernel;
    ULONGLONG user;
};

// The machine's CPU usage between two readings as the processor-time counter
// gives it: the busy share of the elapsed time, to the nearest whole percent,
// at most 100; 0 when no time elapsed between them.
LONG CpuUsageBetween(const SystemTimes& earlier, const SystemTimes& later);

// The processor-time counter computed from the system times, for Wine, whose
// own counter reports a fixed figure whatever the load. It offers the one
// counter "\Processor(_Total)\% Processor Time", formatted as PDH_FMT_LONG,
// with the results the Performance Data Helper gives for it.
class CSystemTimesSamplerPlatform final : public CSamplerPlatform
{
public:
    PDH_STATUS OpenQuery(PDH_HQUERY* query) override;
    PDH_STATUS AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter) override;
    PDH_STATUS CollectQueryData(PDH_HQUERY query) override;
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                        PDH_FMT_COUNTERVALUE* value) override;
    PDH_STATUS RemoveCounter(PDH_HCOUNTER counter) override;
    PDH_STATUS CloseQuery(PDH_HQUERY query) override;
};
