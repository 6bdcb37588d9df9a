#include "framework/SystemLibrary.h"
#include "perf/CpuSampler.h"
#include "perf/PdhSamplerPlatform.h"
#include "perf/SystemTimesSamplerPlatform.h"
#include "perf/WndPerformanceMonitor.h"
#include "tests/support/InProcess.h"

#include <gtest/gtest.h>

#include <pdhmsg.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Runs the sampler's cycles from a script, a letter a cycle: 'O' the query
// cannot be opened, 'A' the counter cannot be added, 'F' the value cannot be
// formatted, a digit a measurement of ten times that. It logs each call as a
// letter and the value published at each opening, and asks the sampler to
// stop in the pause of the last cycle.
class ScriptedCounter : public CSamplerPlatform
{
public:
    ScriptedCounter(const char* script, volatile LONG* usage, volatile BOOL* stop)
        : m_script(script), m_usage(usage), m_stop(stop) {}

    std::string log;
    std::vector<LONG> seenAtOpen;
    // A real pause of this length instead of the script's, and how the last
    // one ended.
    DWORD pauseMs = 0;
    DWORD lastPause = WAIT_FAILED;

    PDH_STATUS OpenQuery(PDH_HQUERY* query) override
    {
        seenAtOpen.push_back(static_cast<LONG>(*m_usage));
        *query = reinterpret_cast<PDH_HQUERY>(static_cast<UINT_PTR>(0x1000));
        return Log('o', 'O', PDH_MEMORY_ALLOCATION_FAILURE);
    }
    PDH_STATUS AddCounter(PDH_HQUERY, LPCWSTR path, PDH_HCOUNTER* counter) override
    {
        *counter = reinterpret_cast<PDH_HCOUNTER>(static_cast<UINT_PTR>(0x2000));
        return Log(std::wstring(path) == L"\\Processor(_Total)\\% Processor Time" ? 'a' : '?', 'A',
                   PDH_CSTATUS_NO_COUNTER);
    }
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER, DWORD format, PDH_FMT_COUNTERVALUE* value) override
    {
        // What a failed call leaves in the record is no measurement.
        value->CStatus = Cycle() == 'F' ? PDH_CSTATUS_INVALID_DATA : PDH_CSTATUS_VALID_DATA;
        value->longValue = Cycle() == 'F' ? 999 : (Cycle() - '0') * 10;
        return Log(format == PDH_FMT_LONG ? 'f' : '?', 'F', PDH_INVALID_DATA);
    }
    PDH_STATUS CollectQueryData(PDH_HQUERY) override { return Log('c'); }
    PDH_STATUS RemoveCounter(PDH_HCOUNTER) override { return Log('r'); }
    PDH_STATUS CloseQuery(PDH_HQUERY) override { return Log('x'); }
    DWORD Wait(HANDLE stopEvent, DWORD milliseconds) override
    {
        if (pauseMs != 0)
            return lastPause = CSamplerPlatform::Wait(stopEvent, pauseMs);
        Log(milliseconds == 1000 ? 'w' : '?');
        if (seenAtOpen.size() < std::strlen(m_script))
            return WAIT_TIMEOUT;
        *m_stop = TRUE;
        return WAIT_OBJECT_0;
    }

private:
    char Cycle() const { return seenAtOpen.size() <= std::strlen(m_script) ? m_script[seenAtOpen.size() - 1] : '0'; }

    // Fails with `failure` in the cycle whose letter is `fails`.
    PDH_STATUS Log(char call, char fails = 0, PDH_STATUS failure = 0)
    {
        log += call;
        // A sampler that never pauses would run for ever; end it here.
        if (log.size() > 100)
            *m_stop = TRUE;
        return Cycle() == fails ? failure : ERROR_SUCCESS;
    }

    const char* m_script;
    volatile LONG* m_usage;
    volatile BOOL* m_stop;
};

TEST(CpuSampler, FailingCounterPublishesZeroOrTheLastMeasurementAndClosesEveryQuery)
{
    const std::string cycle = "oacwcfrx";
    const struct { const char* script; std::string log; std::vector<LONG> seenAtOpen; LONG published; } cases[] = {
        {"", "", {}, -1}, // stopped before it starts
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
    }
}

// Wine's own counter reports one figure whatever the load; the sampler
// computes it there from the system times, as the counter would.
TEST(CpuSampler, UsageFromTheSystemTimesIsTheBusyShareRoundedToWholePercent)
{
    const struct { SystemTimes later; LONG percent; } cases[] = {
        {{255, 500, 500}, 75},      // 74.5
        {{256, 500, 500}, 74},      // 74.4
        {{1990, 2000, 0}, 1},       // 0.5
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

// Physical memory and the commit charge are told apart here, which a host
// without a page file cannot do; the figures are whole MiB, the remainder
// dropped after the subtraction, and printed in full beyond 32 bits.
BOOL WINAPI DistinctFigures(LPMEMORYSTATUSEX status)
{
    *status = {sizeof(*status), 0, 1500 << 20, 700 << 20, (5ULL << 52) + 100, (1ULL << 52) + 200, 2047 << 20,
               1023 << 20, 0};
    return TRUE;
}

// The panel's refreshes are counted against a one-second timer set just after
// its own, over three of its ticks: twice a second gives about twice as many,
// once a second at most one more; a busy machine delays both alike. Destroying
// the window then ends the sampler's five-second pause instead of waiting it out.
TEST(PerformancePanel, ShowsTheCommitChargeRefreshesTwiceASecondAndItsStopEndsTheSamplersPause)
{
    volatile LONG unused = 0;
    volatile BOOL unusedStop = FALSE;
    ScriptedCounter counter("", &unused, &unusedStop);
    counter.pauseMs = 5000;
    const MemoryStatusApi figures = {[] { return &DistinctFigures; }, nullptr};
    HostedPanel<CWndPerformanceMonitor> performance(counter, figures);
    ASSERT_NE(nullptr, performance.dialog);
    EXPECT_EQ(L"コミットチャージ: 17179869183MB / 21474836480MB", performance.Text(IDC_PERF_COMMIT));
    UINT_PTR reference = ::SetTimer(nullptr, 0, 1000, nullptr);
    int ticks = 0;
    int seconds = 0;
    MSG msg;
    while (seconds < 3 && ::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        seconds += msg.hwnd == nullptr && msg.message == WM_TIMER && msg.wParam == reference ? 1 : 0;
        // A tick counts when it refreshes: it puts back the line blanked before it.
        bool tick = msg.message == WM_TIMER && msg.hwnd == performance.dialog;
        if (tick)
            performance.SetText(IDC_PERF_CPU, L"");
        ::DispatchMessageW(&msg);
        ticks += tick && !performance.Text(IDC_PERF_CPU).empty() ? 1 : 0;
    }
    ::KillTimer(nullptr, reference);
    EXPECT_GT(ticks, seconds + 1);
    ::DestroyWindow(performance.dialog);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), counter.lastPause);
}

} // namespace
