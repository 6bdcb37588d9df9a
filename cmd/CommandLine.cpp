#include "CommandLine.h"

#include "disk/DiskManager.h"

#include <algorithm>
#include <cwctype>

namespace {

const wchar_t kMax[] = L"max";
const wchar_t kLeave[] = L"leave:";

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// ASCII digits only: no sign, no blank, no other digits. A number too large
// for 64 bits reads as the largest, which every bound refuses.
bool ReadNumber(const std::wstring& text, ULONGLONG lowest, ULONGLONG highest, ULONGLONG& value)
{
    if (text.empty())
        return false;
    value = 0;
    for (wchar_t c : text)
    {
        if (c < L'0' || c > L'9')
            return false;
        unsigned digit = static_cast<unsigned>(c - L'0');
        value = value > (~0ULL - digit) / 10 ? ~0ULL : value * 10 + digit;
    }
    return value >= lowest && value <= highest;
}

std::wstring Range(ULONGLONG lowest, ULONGLONG highest)
{
    return std::to_wstring(lowest) + L" to " + std::to_wstring(highest);
}

class Parser
{
public:
    Parser(ULONGLONG largestMemoryMb, CommandRequest& request, std::wstring& error)
        : m_largestMemoryMb(largestMemoryMb), m_request(request), m_error(error)
    {
    }

    bool Read(const std::wstring& argument)
    {
        if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-'))
            return Fail(argument, L"not a switch; switches begin with / or -");
        size_t colon = argument.find(L':');
        std::wstring name = Lower(argument.substr(1, colon == std::wstring::npos ? std::wstring::npos : colon - 1));
        std::wstring value = colon == std::wstring::npos ? std::wstring() : argument.substr(colon + 1);
        if (name == L"memory")
            return Once(m_memory, argument) && Memory(argument, value);
        if (name == L"touch")
            return Once(m_request.touch, argument) && (colon == std::wstring::npos || Fail(argument, L"takes no value"));
        if (name == L"disk")
            return Once(m_disk, argument) && Folder(argument, value);
        if (name == L"size")
            return Once(m_size, argument) && Size(argument, value);
        if (name == L"cpu")
            return Once(m_cpu, argument) && Cpu(argument, value);
        if (name == L"load")
            return Once(m_load, argument) && Load(argument, value);
        if (name == L"log")
            return Once(m_log, argument) && Log(argument, value);
        if (name == L"hold")
            return Once(m_hold, argument) && Hold(argument, value);
        return Fail(argument, L"unknown switch (/? shows the switches)");
    }

    bool Complete()
    {
        if (m_size && !m_disk)
            return Fail(L"/size", L"needs /disk:FOLDER");
        if (m_disk && !m_size)
            return Fail(L"/disk", L"needs /size:N, /size:max or /size:leave:N");
        if (m_request.touch && !m_memory)
            return Fail(L"/touch", L"needs /memory:N or /memory:max");
        if (m_load && !m_cpu)
            return Fail(L"/load", L"needs /cpu:N or /cpu:max");
        if (!m_memory && !m_disk && !m_cpu && !m_log)
            return Fail(L"/memory, /disk, /cpu or /log", L"nothing is asked for (/? shows the switches)");
        return true;
    }

private:
    bool Fail(const std::wstring& what, const std::wstring& why)
    {
        m_error = what + L": " + why;
        return false;
    }

    bool Once(bool& seen, const std::wstring& argument)
    {
        if (seen)
            return Fail(argument, L"given more than once");
        seen = true;
        return true;
    }

    bool Memory(const std::wstring& argument, const std::wstring& value)
    {
        m_request.memory = CommandRequest::Memory::Amount;
        if (Lower(value) == kMax)
            m_request.memory = CommandRequest::Memory::Limit;
        else if (!ReadNumber(value, 0, m_largestMemoryMb, m_request.memoryMb))
            return Fail(argument, L"give max or a number of MB from " + Range(0, m_largestMemoryMb));
        return true;
    }

    bool Folder(const std::wstring& argument, const std::wstring& value)
    {
        if (value.empty())
            return Fail(argument, L"give the folder, as in /disk:D:\\Test");
        m_request.folder = value;
        return true;
    }

    bool Size(const std::wstring& argument, const std::wstring& value)
    {
        std::wstring lower = Lower(value);
        if (lower == kMax)
        {
            m_request.disk = CommandRequest::Disk::Limit;
            return true;
        }
        if (lower.compare(0, wcslen(kLeave), kLeave) == 0)
        {
            m_request.disk = CommandRequest::Disk::Leave;
            if (!ReadNumber(value.substr(wcslen(kLeave)), 0, kDiskLargestSizeMb, m_request.diskMb))
                return Fail(argument, L"give leave: and a number of MB from " + Range(0, kDiskLargestSizeMb));
            return true;
        }
        m_request.disk = CommandRequest::Disk::Size;
        if (!ReadNumber(value, 1, kDiskLargestSizeMb, m_request.diskMb))
            return Fail(argument, L"give max, leave:N or a number of MB from " + Range(1, kDiskLargestSizeMb));
        return true;
    }

    bool Cpu(const std::wstring& argument, const std::wstring& value)
    {
        ULONGLONG threads = 0;
        m_request.cpu = CommandRequest::Cpu::Max;
        if (Lower(value) == kMax)
            return true;
        if (!ReadNumber(value, 1, kMostCpuThreads, threads))
            return Fail(argument, L"give max or a number of threads from " + Range(1, kMostCpuThreads));
        m_request.cpu = CommandRequest::Cpu::Threads;
        m_request.cpuThreads = static_cast<DWORD>(threads);
        return true;
    }

    bool Load(const std::wstring& argument, const std::wstring& value)
    {
        ULONGLONG percent = 0;
        if (!ReadNumber(value, 1, 100, percent))
            return Fail(argument, L"give the percentage of the time each thread is busy, from " + Range(1, 100));
        m_request.cpuLoad = static_cast<DWORD>(percent);
        return true;
    }

    bool Log(const std::wstring& argument, const std::wstring& value)
    {
        if (value.empty())
            return Fail(argument, L"give the file, as in /log:D:\\Logs\\run.csv");
        m_request.log = value;
        return true;
    }

    bool Hold(const std::wstring& argument, const std::wstring& value)
    {
        ULONGLONG seconds = 0;
        if (!ReadNumber(value, 0, kLongestHoldSeconds, seconds))
            return Fail(argument, L"give a number of seconds from " + Range(0, kLongestHoldSeconds));
        m_request.timed = true;
        m_request.holdSeconds = static_cast<DWORD>(seconds);
        return true;
    }

    const ULONGLONG m_largestMemoryMb;
    CommandRequest& m_request;
    std::wstring& m_error;
    bool m_memory = false;
    bool m_disk = false;
    bool m_size = false;
    bool m_cpu = false;
    bool m_load = false;
    bool m_log = false;
    bool m_hold = false;
};

} // namespace

bool ParseCommandLine(const std::vector<std::wstring>& arguments, ULONGLONG largestMemoryMb,
                      CommandRequest& request, std::wstring& error)
{
    request = CommandRequest();
    // The usage is shown whatever else is given.
    if (std::any_of(arguments.begin(), arguments.end(),
                    [](const std::wstring& argument) { return argument == L"/?" || argument == L"-?"; }))
    {
        request.usage = true;
        return true;
    }
    Parser parser(largestMemoryMb, request, error);
    return std::all_of(arguments.begin(), arguments.end(),
                       [&parser](const std::wstring& argument) { return parser.Read(argument); }) &&
           parser.Complete();
}

std::wstring UsageText(ULONGLONG largestMemoryMb)
{
    const std::wstring memory = std::to_wstring(largestMemoryMb);
    const std::wstring size = std::to_wstring(kDiskLargestSizeMb);
    return L"OrtelanCmd: memory, disk and CPU pressure for scripts, with Ortelan's engines.\r\n"
           L"\r\n"
           L"OrtelanCmd [/memory:N|max [/touch]] [/disk:FOLDER /size:N|max|leave:N]\r\n"
           L"           [/cpu:N|max [/load:P]] [/log:FILE] [/hold:S]\r\n"
           L"\r\n"
           L"  /memory:N      commit N MB of memory (0 to " + memory + L")\r\n"
           L"  /memory:max    commit as much memory as the system gives\r\n"
           L"  /touch         then write every page once, so that it takes RAM; with\r\n"
           L"                 max, all of it: Windows pages other programs out, and\r\n"
           L"                 the machine may crawl until the release\r\n"
           L"  /disk:FOLDER   make the file Ortelan.dat in FOLDER, sized by /size:\r\n"
           L"  /size:N        N MB (1 to " + size + L")\r\n"
           L"  /size:max      all the free space of the folder's volume\r\n"
           L"  /size:leave:N  all but N MB of it (0 to " + size + L"), within 65,535 bytes\r\n"
           L"  /cpu:N         keep N threads busy during the hold (1 to " + std::to_wstring(kMostCpuThreads) + L")\r\n"
           L"  /cpu:max       one busy thread for each processor it may run on\r\n"
           L"  /load:P        each thread busy P% of every 100 ms (1 to 100; 100)\r\n"
           L"  /log:FILE      record the figures in FILE, a new CSV file, every\r\n"
           L"                 500 ms from the start to the release; alone, only that\r\n"
           L"  /hold:S        hold for S seconds (0 to " + std::to_wstring(kLongestHoldSeconds) + L"), then release\r\n"
           L"                 and delete; without it, hold until Enter is pressed\r\n"
           L"                 (or a redirected input ends)\r\n"
           L"  /?             show this text\r\n"
           L"\r\n"
           L"Switches may begin with / or - and are read in any case. An Ortelan.dat\r\n"
           L"that OrtelanCmd did not make is never touched; the one it makes is\r\n"
           L"deleted however it ends, even by force. Ctrl+C, Ctrl+Break, closing the\r\n"
           L"console, logoff and shutdown release and delete first.\r\n"
           L"\r\n"
           L"The log's columns: time (local), seconds (since the start), commit_mb and\r\n"
           L"commit_limit_mb (the commit charge and limit), cpu_percent (the machine's,\r\n"
           L"empty for its first second), available_mb (physical memory available),\r\n"
           L"resident_mb (OrtelanCmd's own), file_bytes and free_bytes (the file's\r\n"
           L"size and its volume's free space; empty without /disk), state\r\n"
           L"(committing, touching, creating, holding, released). An existing FILE\r\n"
           L"is refused; a log that cannot be written any more stops, the run not.\r\n"
           L"\r\n"
           L"Exit codes: 0 every request met; 1 bad command line; 2 memory refused;\r\n"
           L"3 the file could not be made as asked; 4 interrupted before the end of\r\n"
           L"the hold (everything was released and deleted); 5 its threads could not\r\n"
           L"be started (nothing was committed or made).";
}
