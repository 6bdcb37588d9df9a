#include "ConsoleProgram.h"

#include "tests/support/Files.h"

namespace {

// The output file is read a few times a second at most, so that waiting
// for a line costs the measured machine nothing worth counting.
const DWORD kPollMs = 50;

} // namespace

std::wstring TemporaryPath(const wchar_t* suffix)
{
    static LONG counter = 0;
    WCHAR temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    return temp + std::wstring(L"ortelan-bench-") + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::InterlockedIncrement(&counter)) + suffix;
}

CConsoleProgram::CConsoleProgram(std::wstring path, std::wstring arguments)
    : m_path(std::move(path)), m_arguments(std::move(arguments)), m_outputPath(TemporaryPath(L".out"))
{
}

CConsoleProgram::~CConsoleProgram()
{
    if (m_info.hProcess != nullptr)
    {
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, INFINITE);
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
    }
    ::DeleteFileW(m_outputPath.c_str());
}

bool CConsoleProgram::Start()
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE input = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                 0, nullptr);
    HANDLE output = ::CreateFileW(m_outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::wstring commandLine = L"\"" + m_path + L"\" " + m_arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    bool started = input != INVALID_HANDLE_VALUE && output != INVALID_HANDLE_VALUE &&
                   ::CreateProcessW(m_path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                    &startup, &m_info);
    for (HANDLE handle : {input, output})
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
    return started;
}

bool CConsoleProgram::WaitForLine(const char* start, DWORD timeoutMs) const
{
    const std::string wanted = std::string("\n") + start;
    for (DWORD waited = 0;; waited += kPollMs)
    {
        if (("\n" + Output()).find(wanted) != std::string::npos)
            return true;
        if (waited >= timeoutMs || ::WaitForSingleObject(m_info.hProcess, kPollMs) != WAIT_TIMEOUT)
            return ("\n" + Output()).find(wanted) != std::string::npos;
    }
}

DWORD CConsoleProgram::Wait(DWORD timeoutMs) const
{
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

std::string CConsoleProgram::Output() const
{
    return support::ReadWholeFile(m_outputPath);
}
