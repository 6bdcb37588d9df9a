#pragma once

#include "CommandLine.h"

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
};

// One run of the console companion: it commits the memory and makes the file
// that the request asks for, one step after the other, holds them, then
// releases the memory and deletes the file. That release happens exactly
// once, at the end of the hold, at a failed step, or at once when another
// thread interrupts the run; an interruption in the middle of a step waits
// for the step and is done before Interrupt returns.
class CCommandRun
{
public:
    // folder and target as ResolveTargetFolder made them.
    CCommandRun(const CommandRequest& request, const std::wstring& folder, const std::wstring& target);
    ~CCommandRun();
    CCommandRun(const CCommandRun&) = delete;
    CCommandRun& operator=(const CCommandRun&) = delete;

    // Runs the steps and the hold on the calling thread; the exit code.
    int Execute();

    // From any thread: releases and deletes now, and ends the hold. what
    // says why, for the last line.
    void Interrupt(const wchar_t* what);

private:
    bool CommitMemory();
    bool MakeFile();
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

    CRITICAL_SECTION m_lock;
    HANDLE m_interrupted;
    const wchar_t* m_interruption = nullptr;
    bool m_released = false;
    SIZE_T m_memoryReleased = 0;
    DiskResult m_deletion = DiskResult::NothingRecorded;

    CMemoryManager m_memory;
    CDiskManager m_disk;
};
