#pragma once

#include "CommandLine.h"
#include "CpuLoad.h"
#include "FigureLog.h"
#include "RunFigures.h"

#include "disk/DiskManager.h"
#include "memory/MemoryManager.h"

#include <windows.h>

#include <string>

// The exit codes, as the usage and the README give them.
enum ExitCode
{
    kExitDone = 0,
    kExitBadCommandLine = 1,
    kExitMemoryRefused = 2,
    kExitFileNotMade = 3,
    // Ended early by Ctrl+C, Ctrl+Break, a closed console or the session's
    // end: what was asked may have been met, but not held as long as asked.
    kExitInterrupted = 4,
    // The run's threads could not be started: nothing was committed or made.
    kExitNoThreads = 5,
};

// One run of the console companion: it commits (and touches) the memory,
// makes the file and keeps the processors busy as the request asks, one step
// after the other, holds them, then stops the busy threads, releases the
// memory and deletes the file. That release happens exactly once, at the end
// of the hold, at a failed step, or at once when another thread interrupts
// the run; an interruption in the middle of a step waits for the step (a
// touch of the memory stops early) and is done before Interrupt returns.
// The file goes with the process, however the process ends.
class CCommandRun
{
public:
    // folder and target as ResolveTargetFolder made them; log, when not
    // null, created and waiting to record.
    CCommandRun(const CommandRequest& request, const std::wstring& folder, const std::wstring& target,
                CFigureLog* log);
    ~CCommandRun();
    CCommandRun(const CCommandRun&) = delete;
    CCommandRun& operator=(const CCommandRun&) = delete;

    // Runs the steps and the hold on the calling thread; the exit code.
    int Execute();

    // From any thread: releases and deletes now, and ends the hold. what
    // says why, for the last line.
    void Interrupt(const wchar_t* what);

private:
    bool StartThreads();
    bool CommitMemory();
    bool MakeFile();
    void LoadCpu();
    void Hold();
    void Release();
    std::wstring ReleasedLine() const;
    // Takes the lock for a step, unless everything was released already
    // (the run was interrupted): then false, and the step is not made.
    bool LockForStep();
    void Unlock() { ::LeaveCriticalSection(&m_lock); }

    const CommandRequest m_request;
    const std::wstring m_folder;
    const std::wstring m_target;
    CFigureLog* const m_log;

    CRITICAL_SECTION m_lock;
    HANDLE m_interrupted;
    // Set at once by an interruption, so that a touch of the memory stops.
    volatile LONG m_stopping = 0;
    const wchar_t* m_interruption = nullptr;
    bool m_released = false;
    SIZE_T m_memoryReleased = 0;
    DiskResult m_deletion = DiskResult::NothingRecorded;
    // The thread that waits for Enter, when the hold is not timed.
    HANDLE m_reader = nullptr;

    CRunFigures m_figures;
    CCpuLoad m_cpu;
    CMemoryManager m_memory;
    CDiskManager m_disk{DiskFileLifetime::WithProcess};
};
