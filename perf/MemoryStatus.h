#pragma once

#include <windows.h>

using GlobalMemoryStatusExProc = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
using GlobalMemoryStatusProc = VOID(WINAPI*)(LPMEMORYSTATUS);

// Where the performance panel reads the system's commit charge and limit.
struct MemoryStatusApi
{
    // The 64-bit memory-status call, or null on a system without it.
    GlobalMemoryStatusExProc (*findGlobalMemoryStatusEx)();
    GlobalMemoryStatusProc globalMemoryStatus;
};

// GlobalMemoryStatusEx looked up in kernel32.dll, and GlobalMemoryStatus.
const MemoryStatusApi& SystemMemoryStatusApi();

// The system's commit charge and commit limit in whole mebibytes, the
// remainder dropped: from GlobalMemoryStatusEx, or, on a system without it,
// from GlobalMemoryStatus, whose figures are 32 bits wide (wide is false).
struct CommitFigures
{
    ULONGLONG usedMb;
    ULONGLONG limitMb;
    bool wide;
};
CommitFigures ReadCommitFigures(const MemoryStatusApi& api);

// Physical memory available to programs now, in bytes.
ULONGLONG AvailablePhysicalBytes();

// This process's own resident memory: its working set, in bytes.
ULONGLONG ResidentBytes();
