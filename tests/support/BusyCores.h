#pragma once

#include <atomic>
#include <thread>
#include <vector>

// Keeps every core of the machine busy while it exists, so that the CPU
// usage measured meanwhile is at least half of the machine.
class BusyCores
{
public:
    BusyCores()
    {
        for (unsigned i = 0; i < std::thread::hardware_concurrency(); ++i)
            m_threads.emplace_back([this] {
                while (!m_done.load(std::memory_order_relaxed))
                    continue;
            });
    }
    ~BusyCores()
    {
        m_done = true;
        for (std::thread& thread : m_threads)
            thread.join();
    }

private:
    std::atomic<bool> m_done{false};
    std::vector<std::thread> m_threads;
};
