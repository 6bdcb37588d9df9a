#include "ProcessCpu.h"

#include <cstdlib>
#include <vector>

namespace {

const wchar_t kHostProcesses[] = L"Z:\\proc\\";

// Files of /proc report no size; they are read until the end.
std::string ReadWhole(const std::wstring& path)
{
    std::string content;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return content;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        content.append(buffer, read);
    ::CloseHandle(file);
    return content;
}

std::vector<std::wstring> Subfolders(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && found.cFileName[0] >= L'0'
            && found.cFileName[0] <= L'9')
            names.emplace_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

std::string Utf8(const std::wstring& text)
{
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 1, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], size, nullptr, nullptr);
    result.resize(result.size() - 1);
    return result;
}

// Wine gives the host process the program's Windows path as its first
// argument; the folder of its threads, or empty when none is found.
std::wstring FindHostTasks(const std::wstring& commandPath)
{
    std::string wanted = Utf8(commandPath);
    for (const std::wstring& pid : Subfolders(kHostProcesses))
    {
        std::string commandLine = ReadWhole(kHostProcesses + pid + L"\\cmdline");
        if (lstrcmpiA(commandLine.c_str(), wanted.c_str()) == 0)
            return kHostProcesses + pid + L"\\task\\";
    }
    return std::wstring();
}

ULONGLONG Units(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

CProcessCpuClock::CProcessCpuClock(const PROCESS_INFORMATION& info, const std::wstring& commandPath)
    : m_process(info.hProcess), m_hostTasks(FindHostTasks(commandPath))
{
}

double CProcessCpuClock::ElapsedMs() const
{
    if (!m_hostTasks.empty())
    {
        // The first figure of schedstat is the time spent running, in ns.
        double ns = 0;
        for (const std::wstring& task : Subfolders(m_hostTasks))
            ns += std::strtod(ReadWhole(m_hostTasks + task + L"\\schedstat").c_str(), nullptr);
        return ns / 1e6;
    }
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!::GetProcessTimes(m_process, &created, &exited, &kernel, &user))
        return 0;
    return static_cast<double>(Units(kernel) + Units(user)) / 10000.0;
}

const char* CProcessCpuClock::Source() const
{
    return m_hostTasks.empty() ? "GetProcessTimes" : "Linux scheduler run time of the host process's threads";
}
