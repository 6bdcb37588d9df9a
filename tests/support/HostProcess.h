#pragma once

#include "Files.h"

#include <windows.h>
#include <psapi.h>

#include <cstdlib>
#include <string>
#include <vector>

// What the host says of a process this program started, where Wine gives
// nothing for another process: Wine runs each program as a host process whose
// command line is the program's Windows path and its arguments, one word each.
namespace support {

// The numbered subfolders of a folder ending in a backslash.
inline std::vector<std::wstring> NumberedSubfolders(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
    {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && found.cFileName[0] >= L'0' &&
            found.cFileName[0] <= L'9')
            names.emplace_back(found.cFileName);
    }
    ::FindClose(search);
    return names;
}

// The host's /proc folder of the process started as path with the
// arguments (words split at single spaces), ending in a backslash; empty
// when there is none.
inline std::wstring HostProcessFolder(const std::wstring& path, const std::wstring& arguments = L"")
{
    std::wstring words = path + (arguments.empty() ? L"" : L" " + arguments);
    std::replace(words.begin(), words.end(), L' ', L'\0');
    std::string wanted(words.size() * 3, '\0');
    wanted.resize(::WideCharToMultiByte(CP_UTF8, 0, words.data(), int(words.size()), &wanted[0],
                                        int(wanted.size()), nullptr, nullptr));
    const std::wstring processes = L"Z:\\proc\\";
    for (const std::wstring& pid : NumberedSubfolders(processes))
    {
        std::string commandLine = ReadWholeFile(processes + pid + L"\\cmdline");
        commandLine.erase(commandLine.find_last_not_of('\0') + 1);
        if (commandLine == wanted)
            return processes + pid + L"\\";
    }
    return std::wstring();
}

// The process's resident memory: under Wine, whose figures for another
// process are missing or partial, the host process's resident set; else the
// working set the system reports.
inline ULONGLONG ResidentBytes(HANDLE process, const std::wstring& hostFolder)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (hostFolder.empty())
        return ::GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.WorkingSetSize : 0;
    std::string status = ReadWholeFile(hostFolder + L"status");
    size_t at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : std::strtoull(status.c_str() + at + 6, nullptr, 10) * 1024;
}

// The CPU time the process has used, in whole nanoseconds, so that a
// program that did not run reads exactly no more than before: under Wine
// (a host folder), whose thread times come in 10 ms ticks, the first figure
// of each host thread's schedstat, its run time in ns; else the times the
// system reports.
inline ULONGLONG CpuNanoseconds(HANDLE process, const std::wstring& hostFolder)
{
    ULONGLONG ns = 0;
    if (!hostFolder.empty())
    {
        for (const std::wstring& task : NumberedSubfolders(hostFolder + L"task\\"))
            ns += std::strtoull(ReadWholeFile(hostFolder + L"task\\" + task + L"\\schedstat").c_str(), nullptr, 10);
        return ns;
    }
    FILETIME times[4] = {};
    auto units = [](const FILETIME& time) { return ULONGLONG(time.dwHighDateTime) << 32 | time.dwLowDateTime; };
    if (::GetProcessTimes(process, &times[0], &times[1], &times[2], &times[3]))
        ns = (units(times[2]) + units(times[3])) * 100;
    return ns;
}

} // namespace support
