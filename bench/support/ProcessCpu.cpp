#include "ProcessCpu.h"

#include "tests/support/HostProcess.h"

CProcessCpuClock::CProcessCpuClock(const PROCESS_INFORMATION& info, const std::wstring& commandPath,
                                   const std::wstring& arguments)
    : m_process(info.hProcess), m_hostFolder(support::HostProcessFolder(commandPath, arguments))
{
}

ULONGLONG CProcessCpuClock::ElapsedNs() const
{
    return support::CpuNanoseconds(m_process, m_hostFolder);
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
    return m_hostFolder.empty() ? "GetProcessTimes" : "Linux scheduler run time of the host process's threads";
}
