#pragma once

#include "Files.h"
#include "HostProcess.h"
#include "Program.h"

#include <windows.h>

#include <string>

namespace support {

// The console companion of this build, run as a script runs it: its standard
// streams on pipes, its output read as it comes (UTF-8), its input written
// or closed (or another input, such as NUL or a file), its exit code taken
// at the end.
class ConsoleRun
{
public:
    explicit ConsoleRun(const std::wstring& arguments, const std::wstring& input = L"") : m_arguments(arguments)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE theirs[3] = {};
        for (int i = 0; i < 3; ++i)
        {
            if (i == 0 && !input.empty())
                theirs[i] = ::CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                          OPEN_EXISTING, 0, nullptr);
            else
                ::CreatePipe(i == 0 ? &theirs[i] : &m_pipes[i], i == 0 ? &m_pipes[i] : &theirs[i], &inherit, 0);
            ::SetHandleInformation(m_pipes[i], HANDLE_FLAG_INHERIT, 0);
        }
        std::wstring commandLine = L"\"" + m_path + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = theirs[0];
        startup.hStdOutput = theirs[1];
        startup.hStdError = theirs[2];
        // In a job that ends it with this program, should a failing test be ended by force.
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        ::SetInformationJobObject(m_job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
        if (::CreateProcessW(m_path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                             &m_info))
            ::AssignProcessToJobObject(m_job, m_info.hProcess);
        for (HANDLE handle : theirs)
            ::CloseHandle(handle);
    }
    ~ConsoleRun()
    {
        ::TerminateProcess(m_info.hProcess, 99);
        for (HANDLE handle : {m_info.hProcess, m_info.hThread, m_pipes[0], m_pipes[1], m_pipes[2], m_job})
            ::CloseHandle(handle);
    }

    bool WaitForLine(const std::wstring& start)
    {
        return WaitUntil([&] { return Read(), out.find(L"\n" + start) != std::wstring::npos; });
    }
    // Its hidden window that the session's end is sent to; null if none.
    // Known by its process, since the tests' other runs have one each.
    HWND SessionWindow() const
    {
        std::vector<HWND> found = TopLevelWindows(L"OT_CmdSession", m_info.dwProcessId, true);
        return found.empty() ? nullptr : found.front();
    }
    void Enter(const std::string& typed = "\r\n") const
    {
        DWORD written = 0;
        ::WriteFile(m_pipes[0], typed.data(), DWORD(typed.size()), &written, nullptr);
    }
    // Ended at once, as by taskkill /f, and waited for.
    void Kill() const
    {
        ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, kPatienceMs);
    }
    ULONGLONG Resident() const { return ResidentBytes(m_info.hProcess, HostProcessFolder(m_path, m_arguments)); }
    double Cpu() const { return CpuNanoseconds(m_info.hProcess, HostProcessFolder(m_path, m_arguments)) / 1e9; }
    // The exit code once it has ended, its input closed and its output read;
    // STILL_ACTIVE when it does not end in time.
    DWORD Finish()
    {
        ::CloseHandle(m_pipes[0]);
        m_pipes[0] = nullptr;
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(m_info.hProcess, kPatienceMs) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_info.hProcess, &code);
        Read();
        return code;
    }

    // All written so far, after a line end of its own like every line.
    std::wstring out = L"\n";
    std::wstring err = L"\n";

private:
    void Read()
    {
        char bytes[4096];
        WCHAR text[4096];
        DWORD count = 0;
        for (int i = 1; i < 3; ++i)
        {
            while (::PeekNamedPipe(m_pipes[i], nullptr, 0, nullptr, &count, nullptr) && count != 0 &&
                   ::ReadFile(m_pipes[i], bytes, sizeof(bytes), &count, nullptr))
                (i == 1 ? out : err).append(text, ::MultiByteToWideChar(CP_UTF8, 0, bytes, int(count), text, 4096));
        }
    }

    const std::wstring m_path = HostPathFromEnvironment("ORTELAN_CMD_EXE");
    const std::wstring m_arguments;
    HANDLE m_job = ::CreateJobObjectW(nullptr, nullptr);
    PROCESS_INFORMATION m_info = {};
    // Its input, output and error.
    HANDLE m_pipes[3] = {};
};

} // namespace support
