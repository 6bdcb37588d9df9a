#include "MemoryStatus.h"

#include <psapi.h>

namespace {

// kernel32.dll is loaded in every process, so no reference is taken that
// would have to be released.
GlobalMemoryStatusExProc FindSystemGlobalMemoryStatusEx()
{
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    FARPROC proc = kernel32 != nullptr ? ::GetProcAddress(kernel32, "GlobalMemoryStatusEx") : nullptr;
    // Through a function type without parameters, which converts to any
    // other without a warning about the mismatch.
    return reinterpret_cast<GlobalMemoryStatusExProc>(reinterpret_cast<void (*)()>(proc));
}

// Commit figures are counted in whole mebibytes, the remainder dropped.
const int kBytesToMebibytesShift = 20;

const MemoryStatusApi kSystemMemoryStatusApi = {FindSystemGlobalMemoryStatusEx, &::GlobalMemoryStatus};

} // namespace

const MemoryStatusApi& SystemMemoryStatusApi()
{
    return kSystemMemoryStatusApi;
}

CommitFigures ReadCommitFigures(const MemoryStatusApi& api)
{
    if (GlobalMemoryStatusExProc globalMemoryStatusEx = api.findGlobalMemoryStatusEx())
    {
        MEMORYSTATUSEX status = {};
        status.dwLength = sizeof(status);
        globalMemoryStatusEx(&status);
        return {(status.ullTotalPageFile - status.ullAvailPageFile) >> kBytesToMebibytesShift,
                status.ullTotalPageFile >> kBytesToMebibytesShift, true};
    }
    MEMORYSTATUS status = {};
    status.dwLength = sizeof(status);
    api.globalMemoryStatus(&status);
    DWORD used = static_cast<DWORD>((status.dwTotalPageFile - status.dwAvailPageFile) >> kBytesToMebibytesShift);
    DWORD limit = static_cast<DWORD>(status.dwTotalPageFile >> kBytesToMebibytesShift);
    return {used, limit, false};
}

ULONGLONG AvailablePhysicalBytes()
{
    if (GlobalMemoryStatusExProc globalMemoryStatusEx = FindSystemGlobalMemoryStatusEx())
    {
        MEMORYSTATUSEX status = {};
        status.dwLength = sizeof(status);
        if (globalMemoryStatusEx(&status))
            return status.ullAvailPhys;
    }
    MEMORYSTATUS status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatus(&status);
    return status.dwAvailPhys;
}

ULONGLONG ResidentBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters)) ? counters.WorkingSetSize : 0;
}
