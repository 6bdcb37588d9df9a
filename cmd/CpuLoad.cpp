#include "CpuLoad.h"

#include "Worker.h"

namespace {

// The period whose share each thread is busy.
const LONGLONG kPeriodsPerSecond = 10;
const DWORD kPercent = 100;

LONGLONG Now()
{
    LARGE_INTEGER now = {};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

} // namespace

CCpuLoad::CCpuLoad()
    : m_go(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

CCpuLoad::~CCpuLoad()
{
    Stop();
    for (HANDLE event : {m_go, m_stop})
    {
        if (event != nullptr)
            ::CloseHandle(event);
    }
}

bool CCpuLoad::Prepare(DWORD threads, DWORD percent)
{
    m_percent = percent;
    if (m_go == nullptr || m_stop == nullptr)
        return false;
    for (DWORD i = 0; i < threads; ++i)
    {
        HANDLE thread = StartWorker(ThreadProc, this, kLoopWorkerStackBytes);
        if (thread == nullptr)
        {
            Stop();
            return false;
        }
        m_threads.push_back(thread);
    }
    m_made = threads;
    return true;
}

void CCpuLoad::Start()
{
    ::SetEvent(m_go);
}

void CCpuLoad::Stop()
{
    ::InterlockedExchange(&m_stopping, 1);
    if (m_stop != nullptr)
        ::SetEvent(m_stop);
    for (HANDLE& thread : m_threads)
        JoinWorker(thread);
    m_threads.clear();
}

DWORD WINAPI CCpuLoad::ThreadProc(LPVOID self)
{
    static_cast<const CCpuLoad*>(self)->Spin();
    return 0;
}

void CCpuLoad::Spin() const
{
    HANDLE events[] = {m_stop, m_go};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
        return;
    if (m_percent < kPercent)
        SpinShare();
    else
        SpinUntil(MAXLONGLONG);
}

LONGLONG CCpuLoad::SpinUntil(LONGLONG until) const
{
    LONGLONG now = Now();
    while (now < until && !m_stopping)
        now = Now();
    return now;
}

void CCpuLoad::SpinShare() const
{
    LARGE_INTEGER frequency = {};
    ::QueryPerformanceFrequency(&frequency);
    const LONGLONG period = frequency.QuadPart / kPeriodsPerSecond;
    const LONGLONG busy = period * m_percent / kPercent;
    // The periods keep to the clock, and so does the busy time: by the end
    // of each period the thread has been busy its share of all the periods
    // so far. A wait that ends late, as the system's timer resolution or a
    // loaded machine makes it, only moves busy time into the next spell, so
    // that the share holds even when the idle part of a period is shorter
    // than the timer's step.
    LONGLONG end = Now();
    LONGLONG owed = 0;
    for (;;)
    {
        end += period;
        owed += busy;
        const LONGLONG began = Now();
        LONGLONG now = SpinUntil(began + owed);
        owed -= now - began;
        if (m_stopping)
            return;
        if (now < end)
        {
            DWORD rest = static_cast<DWORD>(((end - now) * 1000 + frequency.QuadPart - 1) / frequency.QuadPart);
            if (::WaitForSingleObject(m_stop, rest) == WAIT_OBJECT_0)
                return;
        }
        // After a stall of more than a period, the lost periods are not made up.
        now = Now();
        if (now - end > period)
        {
            end = now;
            owed = 0;
        }
    }
}

DWORD ProcessorsOfProcess()
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    DWORD count = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system))
    {
        for (; process != 0; process &= process - 1)
            ++count;
    }
    if (count == 0)
    {
        SYSTEM_INFO info = {};
        ::GetSystemInfo(&info);
        count = info.dwNumberOfProcessors;
    }
    return count;
}
