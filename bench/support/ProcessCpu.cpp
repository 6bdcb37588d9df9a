#include "ProcessCpu.h"

#include "tests/support/HostProcess.h"

#include <cstdlib>

namespace {

ULONGLONG Units(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

CProcessCpuClock::CProcessCpuClock(const PROCESS_INFORMATION& info, const std::wstring& commandPath,
                                   const std::wstring& arguments)
    : m_process(info.hProcess), m_hostTasks(support::HostProcessFolder(commandPath, arguments))
{
    if (!m_hostTasks.empty())
        m_hostTasks += L"task\\";
}

ULONGLONG CProcessCpuClock::ElapsedNs() const
{
    if (!m_hostTasks.empty())
    {
        // The first figure of schedstat is the time spent running, in ns.
        ULONGLONG ns = 0;
        for (const std::wstring& task : support::NumberedSubfolders(m_hostTasks))
            ns += std::strtoull(support::ReadWholeFile(m_hostTasks + task + L"\\schedstat").c_str(), nullptr, 10);
        return ns;
    }
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!::GetProcessTimes(m_process, &created, &exited, &kernel, &user))
        return 0;
    return (Units(kernel) + Units(user)) * 100;
}

double CProcessCpuClock::ElapsedMs() const
{
    return static_cast<double>(ElapsedNs()) / 1e6;
}

double CProcessCpuClock::MsSince(ULONGLONG earlierNs) const
{
    return static_cast<double>(ElapsedNs() - earlierNs) / 1e6;
}

const char* CProcessCpuClock::Source() const
{
    return m_hostTasks.empty() ? "GetProcessTimes" : "Linux scheduler run time of the host process's threads";
}
