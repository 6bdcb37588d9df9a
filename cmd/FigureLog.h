#pragma once

#include "RunFigures.h"

#include <windows.h>

#include <string>

// The run's figures over time in a CSV file that spreadsheets and plotting
// tools read: a header, then a row every 500 ms from the start of the run to
// its release, on a schedule that keeps to the clock (row k is due k times
// 500 ms after the first), and a last row after the release. Each row is
// written through at once, so that a reader following the file sees it, and
// so that a machine that fails under the shortage keeps what came before.
// A log that cannot be written any more stops, with one line on standard
// error; the run goes on.
class CFigureLog
{
public:
    CFigureLog();
    ~CFigureLog();
    CFigureLog(const CFigureLog&) = delete;
    CFigureLog& operator=(const CFigureLog&) = delete;

    // Creates the file, never over an existing one, and writes the header.
    // False with the reason when it cannot be created.
    bool Create(const std::wstring& path, std::wstring& reason);
    // Its path made whole.
    const std::wstring& Path() const { return m_path; }

    // Starts recording the figures of the run, with the file columns of
    // folder's volume (none when folder is empty). False when its threads
    // cannot be started.
    bool Start(const CRunFigures& figures, const std::wstring& folder);
    // Writes the last row and ends; the run has been released.
    void Finish();

private:
    static DWORD WINAPI RecorderProc(LPVOID self);
    static DWORD WINAPI SamplerProc(LPVOID self);
    void Record();
    // Performance-counter ticks since the start.
    LONGLONG Elapsed() const;
    std::string Row(LONGLONG elapsed) const;
    void Write(const std::string& text);
    void StopThreads();

    std::wstring m_path;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    bool m_failed = false;
    const CRunFigures* m_figures = nullptr;
    std::wstring m_folder;
    LARGE_INTEGER m_frequency = {};
    LONGLONG m_started = 0;
    std::string m_firstRow;

    HANDLE m_finish;
    HANDLE m_recorder = nullptr;
    // The machine's CPU usage as the performance panel measures it; -1
    // until the first measurement.
    volatile LONG m_cpu = -1;
    volatile BOOL m_stopSampler = FALSE;
    HANDLE m_samplerStop;
    HANDLE m_sampler = nullptr;
};
