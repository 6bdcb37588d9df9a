#pragma once

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

// Keeps every core of the machine busy while it exists, so that the CPU
// usage measured meanwhile is well above zero.
class BusyCores
{
public:
    BusyCores()
    {
        SYSTEM_INFO info = {};
        ::GetSystemInfo(&info);
        for (DWORD i = 0; i < info.dwNumberOfProcessors; ++i)
            m_threads.emplace_back([this] {
                volatile unsigned spin = 0;
                while (!m_done.load(std::memory_order_relaxed))
                    spin = spin + 1;
            });
    }
    ~BusyCores()
    {
        m_done = true;
        for (std::thread& thread : m_threads)
            thread.join();
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;

private:
    std::atomic<bool> m_done{false};
    std::vector<std::thread> m_threads;
};
