#include "Run.h"

#include "Input.h"
#include "Output.h"

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

} // namespace

CCommandRun::CCommandRun(const CommandRequest& request, const std::wstring& folder, const std::wstring& target)
    : m_request(request), m_folder(folder), m_target(target),
      m_interrupted(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    ::InitializeCriticalSection(&m_lock);
}

CCommandRun::~CCommandRun()
{
    Release();
    if (m_interrupted != nullptr)
        ::CloseHandle(m_interrupted);
    ::DeleteCriticalSection(&m_lock);
}

int CCommandRun::Execute()
{
    int code = kExitDone;
    if (m_request.memory != CommandRequest::Memory::None && !CommitMemory())
        code = kExitMemoryRefused;
    else if (m_request.disk != CommandRequest::Disk::None && !MakeFile())
        code = kExitFileNotMade;
    else
        Hold();
    Release();

    WriteOutput(ReleasedLine());
    if (m_deletion == DiskResult::DeleteRefused)
        WriteError(L"disk: " + m_target + L" could not be deleted: it is gone, replaced, or held open");
    if (m_interruption != nullptr)
    {
        WriteError(std::wstring(L"interrupted by ") + m_interruption + L": everything held was released");
        return kExitInterrupted;
    }
    return code;
}

std::wstring CCommandRun::ReleasedLine() const
{
    // Whoever released, it is done now and no longer changes.
    std::wstring line = L"released:";
    if (m_request.memory != CommandRequest::Memory::None)
        line += L" memory " + Megabytes(m_memoryReleased / kMebibyte) + L";";
    if (m_request.disk != CommandRequest::Disk::None)
    {
        if (m_deletion == DiskResult::Ok)
            line += L" deleted " + m_target;
        else if (m_deletion == DiskResult::NothingRecorded)
            line += L" no file";
        else
            line += L" not deleted " + m_target;
    }
    if (line.back() == L';')
        line.pop_back();
    return line;
}

void CCommandRun::Interrupt(const wchar_t* what)
{
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
        m_memoryReleased = m_memory.GetAllocatedSize();
        m_memory.Free();
        m_deletion = m_disk.Release();
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
    Unlock();

    CommitFigures commit = ReadCommitFigures(SystemMemoryStatusApi());
    WriteOutput(L"memory: asked " + (limit ? std::wstring(L"max") : Megabytes(m_request.memoryMb)) + L"; got " +
                Megabytes(held / kMebibyte) + L"; commit charge " + Megabytes(commit.usedMb) + L" of " +
                Megabytes(commit.limitMb));
    if (result == AllocResult::Success || (limit && held != 0))
        return true;
    WriteError(result == AllocResult::OutOfMemory ? L"memory: refused: not enough memory"
                                                  : L"memory: refused: internal error");
    return false;
}

bool CCommandRun::MakeFile()
{
    if (!LockForStep())
        return false;
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

void CCommandRun::Hold()
{
    if (m_request.timed)
    {
        WriteOutput(L"hold: " + std::to_wstring(m_request.holdSeconds) + L" s");
        ::WaitForSingleObject(m_interrupted, m_request.holdSeconds * kMillisecondsPerSecond);
        return;
    }
    WriteOutput(L"hold: until Enter");
    HANDLE reader = ::CreateThread(nullptr, 0, WaitForEnter, nullptr, 0, nullptr);
    if (reader == nullptr)
        return;
    HANDLE ends[] = {m_interrupted, reader};
    ::WaitForMultipleObjects(2, ends, FALSE, INFINITE);
    ::CloseHandle(reader);
}
