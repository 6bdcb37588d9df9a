#pragma once

#include <windows.h>

#include <vector>

// Keeps threads of normal priority busy, each for a share of every 100 ms,
// from Start to Stop. The threads are made first and wait, so that nothing
// the run commits meanwhile can keep them from being made.
class CCpuLoad
{
public:
    CCpuLoad();
    ~CCpuLoad();
    CCpuLoad(const CCpuLoad&) = delete;
    CCpuLoad& operator=(const CCpuLoad&) = delete;

    // Makes the threads, waiting; false, with none left, when the system
    // refuses one.
    bool Prepare(DWORD threads, DWORD percent);
    void Start();
    // Ends the threads and waits for them; nothing runs after it returns.
    void Stop();

    // How many it made, before and after they end.
    DWORD Threads() const { return m_made; }

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    void Spin() const;
    void SpinShare() const;
    // Busy until the clock reads until or the load stops; the clock's reading.
    LONGLONG SpinUntil(LONGLONG until) const;

    std::vector<HANDLE> m_threads;
    HANDLE m_go;
    HANDLE m_stop;
    volatile LONG m_stopping = 0;
    DWORD m_percent = 100;
    DWORD m_made = 0;
};

// The logical processors this process may run on.
DWORD ProcessorsOfProcess();
