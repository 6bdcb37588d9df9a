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
    const char* Source() const;

private:
    HANDLE m_process;
    std::wstring m_hostTasks;
};
