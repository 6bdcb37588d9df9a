#pragma once

#include <windows.h>
#include <pdh.h>

// The system operations the CPU sampler relies on, with the semantics of the
// Performance Data Helper calls of the same names. The sampler reaches the
// system only through this, so that another source of the same counter can
// stand in where the system's own is of no use, and tests can produce the
// failures the system never shows on demand.
class CSamplerPlatform
{
public:
    virtual PDH_STATUS OpenQuery(PDH_HQUERY* query) = 0;
    virtual PDH_STATUS AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter) = 0;
    virtual PDH_STATUS CollectQueryData(PDH_HQUERY query) = 0;
    virtual PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                                PDH_FMT_COUNTERVALUE* value) = 0;
    virtual PDH_STATUS RemoveCounter(PDH_HCOUNTER counter) = 0;
    virtual PDH_STATUS CloseQuery(PDH_HQUERY query) = 0;

    // The sampler's pause: waits until stopEvent is set or the time is up,
    // with the results of WaitForSingleObject. Where the event cannot be
    // waited on, the pause still takes its time instead of ending at once,
    // so that a failing counter is never retried in a busy loop.
    virtual DWORD Wait(HANDLE stopEvent, DWORD milliseconds);

protected:
    ~CSamplerPlatform() = default;
};

// The system's Performance Data Helper on Windows; on Wine, whose counter
// reports a fixed figure, a counter computed from the system times.
CSamplerPlatform& DefaultSamplerPlatform();
