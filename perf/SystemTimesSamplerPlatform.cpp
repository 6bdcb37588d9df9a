#include "SystemTimesSamplerPlatform.h"

#include "CpuSampler.h"

#include <pdhmsg.h>

#include <new>

LONG CpuUsageBetween(const SystemTimes& earlier, const SystemTimes& later)
{
    // A figure that went backwards (Linux's idle time can, slightly) counts
    // as no time.
    auto elapsed = [](ULONGLONG from, ULONGLONG to) { return to > from ? to - from : 0; };
    ULONGLONG idle = elapsed(earlier.idle, later.idle);
    ULONGLONG total = elapsed(earlier.kernel, later.kernel) + elapsed(earlier.user, later.user);
    if (total == 0)
        return 0;
    ULONGLONG busy = total > idle ? total - idle : 0;
    ULONGLONG percent = (busy * 100 + total / 2) / total;
    return static_cast<LONG>(percent < 100 ? percent : 100);
}

namespace {

// A query holds the counter or not, and the last two readings of the system
// times; the counter's handle is its query's.
struct SystemTimesQuery
{
    bool hasCounter;
    int readings;
    SystemTimes earlier;
    SystemTimes later;
};

ULONGLONG ToUnits(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

PDH_STATUS CSystemTimesSamplerPlatform::OpenQuery(PDH_HQUERY* query)
{
    if (query == nullptr)
        return PDH_INVALID_ARGUMENT;
    auto* opened = new (std::nothrow) SystemTimesQuery();
    if (opened == nullptr)
        return PDH_MEMORY_ALLOCATION_FAILURE;
    *query = opened;
    return ERROR_SUCCESS;
}

PDH_STATUS CSystemTimesSamplerPlatform::AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter)
{
    if (query == nullptr)
        return PDH_INVALID_HANDLE;
    if (path == nullptr || counter == nullptr)
        return PDH_INVALID_ARGUMENT;
    if (::lstrcmpiW(path, kProcessorTimeCounterPath) != 0)
        return PDH_CSTATUS_BAD_COUNTERNAME;
    static_cast<SystemTimesQuery*>(query)->hasCounter = true;
    *counter = query;
    return ERROR_SUCCESS;
}

PDH_STATUS CSystemTimesSamplerPlatform::CollectQueryData(PDH_HQUERY query)
{
    if (query == nullptr)
        return PDH_INVALID_HANDLE;
    auto* times = static_cast<SystemTimesQuery*>(query);
    FILETIME idle;
    FILETIME kernel;
    FILETIME user;
    if (!times->hasCounter || !::GetSystemTimes(&idle, &kernel, &user))
        return PDH_NO_DATA;
    times->earlier = times->later;
    times->later = {ToUnits(idle), ToUnits(kernel), ToUnits(user)};
    if (times->readings < 2)
        ++times->readings;
    return ERROR_SUCCESS;
}

PDH_STATUS CSystemTimesSamplerPlatform::GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                                                 PDH_FMT_COUNTERVALUE* value)
{
    if (counter == nullptr)
        return PDH_INVALID_HANDLE;
    if (value == nullptr || format != PDH_FMT_LONG)
        return PDH_INVALID_ARGUMENT;
    const auto* times = static_cast<const SystemTimesQuery*>(counter);
    if (!times->hasCounter)
        return PDH_INVALID_HANDLE;
    if (times->readings < 2)
    {
        value->CStatus = PDH_CSTATUS_INVALID_DATA;
        return PDH_INVALID_DATA;
    }
    value->CStatus = PDH_CSTATUS_VALID_DATA;
    value->longValue = CpuUsageBetween(times->earlier, times->later);
    return ERROR_SUCCESS;
}

PDH_STATUS CSystemTimesSamplerPlatform::RemoveCounter(PDH_HCOUNTER counter)
{
    if (counter == nullptr)
        return PDH_INVALID_HANDLE;
    auto* times = static_cast<SystemTimesQuery*>(counter);
    times->hasCounter = false;
    times->readings = 0;
    return ERROR_SUCCESS;
}

PDH_STATUS CSystemTimesSamplerPlatform::CloseQuery(PDH_HQUERY query)
{
    if (query == nullptr)
        return PDH_INVALID_HANDLE;
    delete static_cast<SystemTimesQuery*>(query);
    return ERROR_SUCCESS;
}
