#include "Program.h"

#include "Measure.h"

namespace {

const double kStartTimeoutMs = 15000;
const DWORD kCloseTimeoutMs = 10000;

HWND FindVisibleWindow(const wchar_t* windowClass, DWORD processId)
{
    for (HWND window = ::FindWindowExW(nullptr, nullptr, windowClass, nullptr); window != nullptr;
         window = ::FindWindowExW(nullptr, window, windowClass, nullptr))
    {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

} // namespace

CProgram::CProgram(std::wstring path, const wchar_t* windowClass)
    : m_path(std::move(path)), m_windowClass(windowClass)
{
}

CProgram::~CProgram()
{
    if (m_info.hProcess != nullptr)
        Close();
}

double CProgram::Start()
{
    std::wstring commandLine = L"\"" + m_path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    double start = NowMs();
    if (!::CreateProcessW(m_path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &m_info))
        return -1;
    // Polled once a millisecond: finer polling would take the processor
    // from the program being timed.
    while ((m_window = FindVisibleWindow(m_windowClass, m_info.dwProcessId)) == nullptr)
    {
        if (NowMs() - start > kStartTimeoutMs)
            return -1;
        ::Sleep(1);
    }
    return NowMs() - start;
}

double CProgram::Close()
{
    if (m_info.hProcess == nullptr)
        return -1;
    double start = NowMs();
    if (m_window != nullptr)
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
    double elapsed = -1;
    if (::WaitForSingleObject(m_info.hProcess, kCloseTimeoutMs) == WAIT_OBJECT_0)
        elapsed = NowMs() - start;
    else
        ::TerminateProcess(m_info.hProcess, 1);
    Release();
    return elapsed;
}

void CProgram::Release()
{
    ::WaitForSingleObject(m_info.hProcess, kCloseTimeoutMs);
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
    m_info = {};
    m_window = nullptr;
}

std::wstring BesideThisProgram(const wchar_t* fileName)
{
    WCHAR path[1024] = L"";
    DWORD length = ::GetModuleFileNameW(nullptr, path, 1024);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + fileName;
}
