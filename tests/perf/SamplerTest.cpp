#include "framework/SystemLibrary.h"
#include "perf/CpuSampler.h"
#include "perf/PdhSamplerPlatform.h"
#include "perf/SystemTimesSamplerPlatform.h"

#include <gtest/gtest.h>

#include <pdhmsg.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Runs the sampler's cycles from a script, a letter a cycle: 'O' the query
// cannot be opened, 'A' the counter cannot be added, 'F' the value cannot be
// formatted, a digit a measurement of ten times that percentage. It logs
// every call as a letter and the published value at every opening, and asks
// the sampler to stop during the pause of the script's last cycle.
class ScriptedCounter : public CSamplerPlatform
{
public:
    ScriptedCounter(const char* script, volatile LONG* usage, volatile BOOL* stop)
        : m_script(script), m_usage(usage), m_stop(stop)
    {
    }

    std::string log;
    std::vector<LONG> seenAtOpen;
    int openQueries = 0;

    PDH_STATUS OpenQuery(PDH_HQUERY* query) override
    {
        Log('o');
        seenAtOpen.push_back(static_cast<LONG>(*m_usage));
        if (Cycle() == 'O')
            return PDH_MEMORY_ALLOCATION_FAILURE;
        ++openQueries;
        *query = reinterpret_cast<PDH_HQUERY>(static_cast<UINT_PTR>(0x1000));
        return ERROR_SUCCESS;
    }
    PDH_STATUS AddCounter(PDH_HQUERY, LPCWSTR path, PDH_HCOUNTER* counter) override
    {
        Log(std::wstring(path) == L"\\Processor(_Total)\\% Processor Time" ? 'a' : '?');
        if (Cycle() == 'A')
            return PDH_CSTATUS_NO_COUNTER;
        *counter = reinterpret_cast<PDH_HCOUNTER>(static_cast<UINT_PTR>(0x2000));
        return ERROR_SUCCESS;
    }
    PDH_STATUS CollectQueryData(PDH_HQUERY) override
    {
        Log('c');
        return ERROR_SUCCESS;
    }
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER, DWORD format, PDH_FMT_COUNTERVALUE* value) override
    {
        Log(format == PDH_FMT_LONG ? 'f' : '?');
        if (Cycle() == 'F')
        {
            // What a failed call leaves in the record is no measurement.
            value->CStatus = PDH_CSTATUS_INVALID_DATA;
            value->longValue = 999;
            return PDH_INVALID_DATA;
        }
        value->CStatus = PDH_CSTATUS_VALID_DATA;
        value->longValue = (Cycle() - '0') * 10;
        return ERROR_SUCCESS;
    }
    PDH_STATUS RemoveCounter(PDH_HCOUNTER) override
    {
        Log('r');
        return ERROR_SUCCESS;
    }
    PDH_STATUS CloseQuery(PDH_HQUERY) override
    {
        Log('x');
        --openQueries;
        return ERROR_SUCCESS;
    }
    DWORD Wait(HANDLE, DWORD milliseconds) override
    {
        Log(milliseconds == 1000 ? 'w' : '?');
        if (seenAtOpen.size() < std::strlen(m_script))
            return WAIT_TIMEOUT;
        *m_stop = TRUE;
        return WAIT_OBJECT_0;
    }

private:
    char Cycle() const { return m_script[seenAtOpen.size() - 1]; }
    void Log(char call)
    {
        log += call;
        // A sampler that never pauses would run for ever; end it here.
        if (log.size() > 100)
            *m_stop = TRUE;
    }

    const char* m_script;
    volatile LONG* m_usage;
    volatile BOOL* m_stop;
};

TEST(CpuSampler, FailingCounterPublishesZeroOrTheLastMeasurementAndClosesEveryQuery)
{
    const std::string cycle = "oacwcfrx";
    const struct
    {
        const char* script;
        std::string log;
        std::vector<LONG> seenAtOpen;
        LONG published;
    } cases[] = {
        // Stopped before it starts: nothing is opened or published.
        {"", "", {}, -1},
        {"120", cycle + cycle + cycle, {-1, 10, 20}, 0},
        {"OO3", "ow" "ow" + cycle, {-1, 0, 0}, 30},
        {"A5", "oaxw" + cycle, {-1, -1}, 50},
        // Nothing measured yet, then 40; 0 while the query cannot be opened;
        // the last measurement again when formatting fails.
        {"F4OF", cycle + cycle + "ow" + cycle, {-1, -1, 40, 0}, 40},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.script);
        volatile LONG usage = -1;
        volatile BOOL stop = c.script[0] == '\0';
        ScriptedCounter counter(c.script, &usage, &stop);
        EXPECT_EQ(0u, RunCpuSampler(&usage, &stop, nullptr, counter));
        EXPECT_EQ(c.log, counter.log);
        EXPECT_EQ(c.seenAtOpen, counter.seenAtOpen);
        EXPECT_EQ(c.published, usage);
        EXPECT_EQ(0, counter.openQueries);
    }
}

// Wine's own counter reports one figure whatever the load; the sampler
// computes it there from the system times, as the counter would.
TEST(CpuSampler, UsageFromTheSystemTimesIsTheBusyShareRoundedToWholePercent)
{
    const struct
    {
        SystemTimes later;
        LONG percent;
    } cases[] = {
        {{255, 500, 500}, 75},      // 74.5
        {{256, 500, 500}, 74},      // 74.4
        {{1990, 2000, 0}, 1},       // 0.5
        {{1991, 2000, 0}, 0},       // 0.45
        {{1, 2000, 0}, 100},        // 99.95
        {{0, 0, 0}, 0},             // no time elapsed
        {{4500, 1000, 1000}, 0},    // more idle time than elapsed
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, CpuUsageBetween({0, 0, 0}, c.later)) << c.later.idle << " idle";
    // Linux's idle figure can step back a little; that is no idle time.
    EXPECT_EQ(100, CpuUsageBetween({4000, 8000, 8000}, {3990, 8100, 8100}));
}

// A Japanese Windows knows the counter only by its Japanese path unless the
// English one is added through PdhAddEnglishCounterW.
TEST(CpuSampler, CounterIsAddedByItsEnglishPath)
{
    HMODULE pdh = LoadSystemLibrary(L"pdh.dll");
    ASSERT_NE(nullptr, pdh);
    FARPROC english = ::GetProcAddress(pdh, "PdhAddEnglishCounterW");
    ASSERT_NE(nullptr, english);
    EXPECT_EQ(reinterpret_cast<void*>(english), reinterpret_cast<void*>(FindAddCounter(pdh)));
}

} // namespace
