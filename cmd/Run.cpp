#include "Run.h"

#include "Input.h"
#include "Output.h"
#include "Worker.h"

#include "disk/DiskTargets.h"
#include "perf/MemoryStatus.h"

namespace {

const ULONGLONG kMebibyte = 1048576;
const DWORD kMillisecondsPerSecond = 1000;

std::wstring Megabytes(ULONGLONG megabytes)
{
    return std::to_wstring(megabytes) + L" MB";
}

std::wstring Bytes(ULONGLONG bytes)
{
    return std::to_wstring(bytes) + L" bytes";
}

std::wstring Threads(DWORD threads)
{
    return std::to_wstring(threads) + (threads == 1 ? L" thread" : L" threads");
}

} // namespace

CCommandRun::CCommandRun(const CommandRequest& request, const std::wstring& folder, const std::wstring& target,
                         CFigureLog* log)
    : m_request(request), m_folder(folder), m_target(target), m_log(log),
      m_interrupted(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    ::InitializeCriticalSection(&m_lock);
}

CCommandRun::~CCommandRun()
{
    Release();
    if (m_reader != nullptr)
        ::CloseHandle(m_reader);
    if (m_interrupted != nullptr)
        ::CloseHandle(m_interrupted);
    ::DeleteCriticalSection(&m_lock);
}

int CCommandRun::Execute()
{
    // The log's first row tells the first step.
    if (m_request.memory == CommandRequest::Memory::None)
        m_figures.SetState(m_request.disk != CommandRequest::Disk::None ? CRunFigures::State::Creating
                                                                       : CRunFigures::State::Holding);
    if (!StartThreads())
    {
        WriteError(L"its threads could not be started: nothing was committed or made");
        return kExitNoThreads;
    }
    int code = kExitDone;
    if (m_request.memory != CommandRequest::Memory::None && !CommitMemory())
        code = kExitMemoryRefused;
    else if (m_request.disk != CommandRequest::Disk::None && !MakeFile())
        code = kExitFileNotMade;
    else
    {
        LoadCpu();
        Hold();
    }
    Release();
    if (m_log != nullptr)
        m_log->Finish();

    WriteOutput(ReleasedLine());
    if (m_interruption != nullptr)
    {
        WriteError(std::wstring(L"interrupted by ") + m_interruption + L": everything held was released");
        return kExitInterrupted;
    }
    return code;
}

bool CCommandRun::StartThreads()
{
    if (m_request.cpu != CommandRequest::Cpu::None &&
        !m_cpu.Prepare(m_request.cpu == CommandRequest::Cpu::Max ? ProcessorsOfProcess() : m_request.cpuThreads,
                       m_request.cpuLoad))
        return false;
    if (!m_request.timed && (m_reader = StartWorker(WaitForEnter, nullptr)) == nullptr)
        return false;
    return m_log == nullptr ||
           m_log->Start(m_figures, m_request.disk != CommandRequest::Disk::None ? m_folder : std::wstring());
}

std::wstring CCommandRun::ReleasedLine() const
{
    // Whoever released, it is done now and no longer changes.
    std::wstring line = L"released:";
    if (m_request.memory != CommandRequest::Memory::None)
        line += L" memory " + Megabytes(m_memoryReleased / kMebibyte) + L";";
    if (m_request.cpu != CommandRequest::Cpu::None)
        line += L" cpu " + Threads(m_cpu.Threads()) + L" stopped;";
    // The file's one handle, closed, has deleted it.
    if (m_request.disk != CommandRequest::Disk::None)
        line += m_deletion == DiskResult::Ok ? L" deleted " + m_target : std::wstring(L" no file");
    if (line.back() == L';')
        line.pop_back();
    return line.back() == L':' ? line + L" nothing was held" : line;
}

void CCommandRun::Interrupt(const wchar_t* what)
{
    ::InterlockedExchange(&m_stopping, 1);
    ::EnterCriticalSection(&m_lock);
    // After the run's own release there is nothing left to interrupt.
    if (m_interruption == nullptr && !m_released)
        m_interruption = what;
    ::LeaveCriticalSection(&m_lock);
    Release();
    ::SetEvent(m_interrupted);
}

bool CCommandRun::LockForStep()
{
    ::EnterCriticalSection(&m_lock);
    if (!m_released)
        return true;
    Unlock();
    return false;
}

void CCommandRun::Release()
{
    ::EnterCriticalSection(&m_lock);
    if (!m_released)
    {
        m_released = true;
        // A row taken meanwhile sees the release under way.
        m_figures.SetState(CRunFigures::State::Released);
        // The busy threads stop first, so that nothing slows the release.
        m_cpu.Stop();
        m_memoryReleased = m_memory.GetAllocatedSize();
        m_memory.Free();
        m_deletion = m_disk.Release();
        m_figures.SetFileBytes(0);
    }
    Unlock();
}

bool CCommandRun::CommitMemory()
{
    if (!LockForStep())
        return false;
    const bool limit = m_request.memory == CommandRequest::Memory::Limit;
    // As the memory panel's two buttons do: a chosen amount is all or
    // nothing; the limit keeps what it got before the system refused.
    AllocResult result = limit ? m_memory.Allocate(CMemoryManager::kLimitRequest, FALSE)
                               : m_memory.Allocate(static_cast<SIZE_T>(m_request.memoryMb * kMebibyte), TRUE);
    SIZE_T held = m_memory.GetAllocatedSize();
    const bool committed = result == AllocResult::Success || (limit && held != 0);
    bool touched = true;
    if (committed && m_request.touch)
    {
        m_figures.SetState(CRunFigures::State::Touching);
        touched = m_memory.Touch(&m_stopping);
    }
    ULONGLONG resident = ResidentBytes();
    Unlock();

    CommitFigures commit = ReadCommitFigures(SystemMemoryStatusApi());
    std::wstring line = L"memory: asked " + (limit ? std::wstring(L"max") : Megabytes(m_request.memoryMb)) +
                        L"; got " + Megabytes(held / kMebibyte) + L"; commit charge " + Megabytes(commit.usedMb) +
                        L" of " + Megabytes(commit.limitMb);
    if (m_request.touch)
        line += L"; resident " + Megabytes(resident / kMebibyte);
    WriteOutput(line);
    if (!committed)
    {
        WriteError(result == AllocResult::OutOfMemory ? L"memory: refused: not enough memory"
                                                      : L"memory: refused: internal error");
        return false;
    }
    // Cut short by an interruption, which says so itself.
    if (!touched && !m_stopping)
        WriteError(L"memory: could not be touched: internal error");
    return touched;
}

bool CCommandRun::MakeFile()
{
    if (!LockForStep())
        return false;
    m_figures.SetState(CRunFigures::State::Creating);
    const ULONGLONG bytes = m_request.diskMb * kMebibyte;
    ULONGLONG measured = 0;
    DiskResult result = DiskResult::Error;
    std::wstring asked = Megabytes(m_request.diskMb);
    switch (m_request.disk)
    {
    case CommandRequest::Disk::Size:
        result = m_disk.Reserve(m_target.c_str(), bytes);
        break;
    case CommandRequest::Disk::Limit:
        result = ReserveToLimit(m_disk, m_folder.c_str(), m_target.c_str(), measured);
        asked = L"max";
        break;
    case CommandRequest::Disk::Leave:
        result = ReserveLeaving(m_disk, m_folder.c_str(), m_target.c_str(), bytes);
        asked = L"to leave " + asked;
        break;
    case CommandRequest::Disk::None:
        break;
    }
    ULONGLONG size = m_disk.GetReservedSize();
    ULONGLONG left = m_disk.AvailableBytes(m_folder.c_str());
    m_figures.SetFileBytes(size);
    Unlock();

    WriteOutput(L"disk: asked " + asked + L"; got " + Bytes(size) + L"; free " + Bytes(left) + L"; file " +
                m_target);
    if (result == DiskResult::Ok)
        return true;
    std::wstring reason = L"internal error";
    switch (result)
    {
    case DiskResult::DiskFull:
        reason = m_request.disk == CommandRequest::Disk::Leave
                     ? L"file creation failed: no more than the " + Megabytes(m_request.diskMb) + L" to leave is free"
                     : std::wstring(L"file creation failed: not enough free space");
        break;
    case DiskResult::AlreadyExists:
        reason = L"a file of the same name exists, which this run did not make; it is left untouched";
        break;
    case DiskResult::AccessDenied:
        reason = L"access denied: the folder may not be written to";
        break;
    default:
        if (m_request.disk == CommandRequest::Disk::Leave)
            reason += L": the free space did not settle within 65,535 bytes of " + Megabytes(m_request.diskMb);
        break;
    }
    WriteError(L"disk: " + reason);
    return false;
}

void CCommandRun::LoadCpu()
{
    if (m_request.cpu == CommandRequest::Cpu::None)
        return;
    m_cpu.Start();
    WriteOutput(L"cpu: asked " +
                (m_request.cpu == CommandRequest::Cpu::Max ? std::wstring(L"max") : std::to_wstring(m_request.cpuThreads)) +
                L"; " + Threads(m_cpu.Threads()) + L" busy " + std::to_wstring(m_request.cpuLoad) + L"% of the time");
}

void CCommandRun::Hold()
{
    m_figures.SetState(CRunFigures::State::Holding);
    if (m_request.timed)
    {
        WriteOutput(L"hold: " + std::to_wstring(m_request.holdSeconds) + L" s");
        ::WaitForSingleObject(m_interrupted, m_request.holdSeconds * kMillisecondsPerSecond);
        return;
    }
    WriteOutput(L"hold: until Enter");
    HANDLE ends[] = {m_interrupted, m_reader};
    ::WaitForMultipleObjects(2, ends, FALSE, INFINITE);
}
