#include "FigureLog.h"

#include "Output.h"
#include "TargetFolder.h"
#include "Worker.h"

#include "disk/DiskManager.h"
#include "perf/CpuSampler.h"
#include "perf/MemoryStatus.h"

#include <algorithm>

namespace {

const char kHeader[] =
    "time,seconds,commit_mb,commit_limit_mb,cpu_percent,available_mb,resident_mb,file_bytes,free_bytes,state\r\n";
const char* const kStates[] = {"committing", "touching", "creating", "holding", "released"};
const LONGLONG kRowIntervalMs = 500;
const LONGLONG kMillisecondsPerSecond = 1000;
const int kMebibyteShift = 20;

std::string Number(ULONGLONG value)
{
    return std::to_string(value);
}

// At least digits digits, zeros in front.
std::string Padded(ULONGLONG value, size_t digits)
{
    std::string text = Number(value);
    return std::string(text.size() < digits ? digits - text.size() : 0, '0') + text;
}

// ISO 8601, to the millisecond.
std::string LocalTime()
{
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return Padded(now.wYear, 4) + "-" + Padded(now.wMonth, 2) + "-" + Padded(now.wDay, 2) + "T" +
           Padded(now.wHour, 2) + ":" + Padded(now.wMinute, 2) + ":" + Padded(now.wSecond, 2) + "." +
           Padded(now.wMilliseconds, 3);
}

std::string Seconds(ULONGLONG milliseconds)
{
    return Number(milliseconds / kMillisecondsPerSecond) + "." + Padded(milliseconds % kMillisecondsPerSecond, 3);
}

std::wstring Reason(DWORD error)
{
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)
        return L"its volume is full";
    return L"Windows error " + std::to_wstring(error);
}

} // namespace

CFigureLog::CFigureLog()
    : m_finish(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_samplerStop(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    ::QueryPerformanceFrequency(&m_frequency);
}

CFigureLog::~CFigureLog()
{
    StopThreads();
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
    for (HANDLE event : {m_finish, m_samplerStop})
    {
        if (event != nullptr)
            ::CloseHandle(event);
    }
}

bool CFigureLog::Create(const std::wstring& path, std::wstring& reason)
{
    if (!FullPath(path, m_path))
    {
        reason = L"not a file's path";
        return false;
    }
    // Readers that follow the file, as Get-Content -Wait does, may open it.
    m_file = ::CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
    {
        DWORD error = ::GetLastError();
        reason = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                     ? L"the file exists; the log is always a new file"
                     : error == ERROR_PATH_NOT_FOUND ? L"no such folder"
                     : error == ERROR_ACCESS_DENIED  ? L"access denied"
                                                     : L"cannot be created: Windows error " + std::to_wstring(error);
        return false;
    }
    Write(kHeader);
    return true;
}

bool CFigureLog::Start(const CRunFigures& figures, const std::wstring& folder)
{
    m_figures = &figures;
    m_folder = folder;
    LARGE_INTEGER now = {};
    ::QueryPerformanceCounter(&now);
    m_started = now.QuadPart;
    // The first row's figures are those before the first step, whenever
    // the recorder gets to write it.
    m_firstRow = Row(0);
    if (m_finish == nullptr || m_samplerStop == nullptr)
        return false;
    m_sampler = StartWorker(SamplerProc, this);
    m_recorder = m_sampler != nullptr ? StartWorker(RecorderProc, this) : nullptr;
    return m_recorder != nullptr;
}

void CFigureLog::Finish()
{
    StopThreads();
}

void CFigureLog::StopThreads()
{
    if (m_finish != nullptr)
        ::SetEvent(m_finish);
    JoinWorker(m_recorder);
    m_stopSampler = TRUE;
    if (m_samplerStop != nullptr)
        ::SetEvent(m_samplerStop);
    JoinWorker(m_sampler);
}

DWORD WINAPI CFigureLog::SamplerProc(LPVOID self)
{
    auto* log = static_cast<CFigureLog*>(self);
    return RunCpuSampler(&log->m_cpu, &log->m_stopSampler, log->m_samplerStop, DefaultSamplerPlatform());
}

DWORD WINAPI CFigureLog::RecorderProc(LPVOID self)
{
    static_cast<CFigureLog*>(self)->Record();
    return 0;
}

LONGLONG CFigureLog::Elapsed() const
{
    LARGE_INTEGER now = {};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart - m_started;
}

void CFigureLog::Record()
{
    const LONGLONG interval = m_frequency.QuadPart * kRowIntervalMs / kMillisecondsPerSecond;
    Write(m_firstRow);
    for (LONGLONG due = interval;;)
    {
        LONGLONG ahead = due - Elapsed();
        DWORD wait = ahead > 0 ? static_cast<DWORD>((ahead * kMillisecondsPerSecond + m_frequency.QuadPart - 1) /
                                                    m_frequency.QuadPart)
                               : 0;
        if (::WaitForSingleObject(m_finish, wait) == WAIT_OBJECT_0)
            break;
        LONGLONG elapsed = Elapsed();
        Write(Row(elapsed));
        // A row that could not be written in its time is left out, not
        // crowded in after the next.
        due = std::max(due + interval, (elapsed / interval + 1) * interval);
    }
    Write(Row(Elapsed()));
}

std::string CFigureLog::Row(LONGLONG elapsed) const
{
    CommitFigures commit = ReadCommitFigures(SystemMemoryStatusApi());
    LONG cpu = m_cpu;
    std::string row = LocalTime() + "," +
                      Seconds(static_cast<ULONGLONG>(elapsed * kMillisecondsPerSecond / m_frequency.QuadPart)) + "," + Number(commit.usedMb) + "," +
                      Number(commit.limitMb) + "," + (cpu < 0 ? std::string() : Number(static_cast<ULONGLONG>(cpu))) +
                      "," + Number(AvailablePhysicalBytes() >> kMebibyteShift) + "," +
                      Number(ResidentBytes() >> kMebibyteShift) + ",";
    if (!m_folder.empty())
        row += Number(m_figures->GetFileBytes()) + "," + Number(VolumeAvailableBytes(RealDiskPlatform(), m_folder.c_str()));
    else
        row += ",";
    return row + "," + kStates[static_cast<int>(m_figures->GetState())] + "\r\n";
}

void CFigureLog::Write(const std::string& text)
{
    if (m_failed)
        return;
    DWORD written = 0;
    BOOL wrote = ::WriteFile(m_file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (wrote && written == text.size())
        return;
    // A write cut short found no more room.
    DWORD error = wrote ? ERROR_DISK_FULL : ::GetLastError();
    m_failed = true;
    WriteError(L"log: " + m_path + L" could not be written (" + Reason(error) + L"); the log stops, the run goes on");
}
