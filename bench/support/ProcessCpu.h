#pragma once

#include <windows.h>

#include <string>

// The CPU time a program started by the bench has used so far.
//
// Wine reports no process times for another process, and its thread times
// come from Linux in 10 ms ticks, far too coarse for a program that wakes
// for microseconds twice a second. Under Wine the clock therefore reads
// Linux's scheduler run time, in nanoseconds, of every thread of the host
// process that runs the program; elsewhere GetProcessTimes.
class CProcessCpuClock
{
public:
    // commandPath: the program's path as given to CreateProcessW;
    // arguments: what followed it on the command line, if anything.
    CProcessCpuClock(const PROCESS_INFORMATION& info, const std::wstring& commandPath,
                     const std::wstring& arguments = L"");

    double ElapsedMs() const;
    // A reading in whole nanoseconds, and the milliseconds since one: exactly
    // zero when the program did not run, which a difference of two
    // ElapsedMs readings is not always in the 32-bit edition, whose floating
    // point keeps more digits in registers than in memory.
    ULONGLONG ElapsedNs() const;
    double MsSince(ULONGLONG earlierNs) const;
    const char* Source() const;

private:
    HANDLE m_process;
    std::wstring m_hostFolder;
};
