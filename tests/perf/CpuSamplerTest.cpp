#include "perf/CpuSampler.h"

#include "tests/support/BusyCores.h"

#include <gtest/gtest.h>

#include <pdhmsg.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

const LONG kFormatFails = -1000;

// Stands for the stop event; the script never really waits.
const HANDLE kStopEvent = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x3000));

// Runs the sampler's cycles on the calling thread from a script and keeps a
// log of the calls; the stop request is made from within a chosen wait.
class ScriptedPlatform : public CSamplerPlatform
{
public:
    ScriptedPlatform(volatile LONG* usage, volatile BOOL* stop) : m_usage(usage), m_stop(stop) {}

    // By call number, from 1; calls not listed succeed.
    std::map<int, bool> openFails;
    std::map<int, bool> addFails;
    // Value given by each formatting call, from 1; kFormatFails makes it fail.
    std::map<int, LONG> formatted;
    int stopInWait = 1;

    std::vector<std::string> log;
    std::vector<LONG> usageAtWait;
    std::wstring addedPath;
    int openQueries = 0;
    int addedCounters = 0;
    bool misuse = false;

    PDH_STATUS OpenQuery(PDH_HQUERY* query) override
    {
        Record("open");
        if (openFails[++m_opens])
            return PDH_MEMORY_ALLOCATION_FAILURE;
        ++openQueries;
        m_query = reinterpret_cast<PDH_HQUERY>(static_cast<UINT_PTR>(0x1000 + m_opens));
        *query = m_query;
        return ERROR_SUCCESS;
    }
    PDH_STATUS AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter) override
    {
        Record("add");
        Check(query == m_query && openQueries == 1);
        addedPath = path;
        if (addFails[++m_adds])
            return PDH_CSTATUS_NO_COUNTER;
        ++addedCounters;
        m_counter = reinterpret_cast<PDH_HCOUNTER>(static_cast<UINT_PTR>(0x2000 + m_adds));
        *counter = m_counter;
        return ERROR_SUCCESS;
    }
    PDH_STATUS CollectQueryData(PDH_HQUERY query) override
    {
        Record("collect");
        Check(query == m_query && addedCounters == 1);
        return ERROR_SUCCESS;
    }
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                        PDH_FMT_COUNTERVALUE* value) override
    {
        Record(format == PDH_FMT_LONG ? "format" : "format with other flags");
        Check(counter == m_counter && addedCounters == 1);
        auto listed = formatted.find(++m_formats);
        LONG result = listed != formatted.end() ? listed->second : 0;
        if (result == kFormatFails)
        {
            // What a failing call leaves in the record is no measurement.
            value->CStatus = PDH_CSTATUS_INVALID_DATA;
            value->longValue = 999;
            return PDH_INVALID_DATA;
        }
        value->CStatus = PDH_CSTATUS_VALID_DATA;
        value->longValue = result;
        return ERROR_SUCCESS;
    }
    PDH_STATUS RemoveCounter(PDH_HCOUNTER counter) override
    {
        Record("remove");
        Check(counter == m_counter && addedCounters == 1);
        --addedCounters;
        return ERROR_SUCCESS;
    }
    PDH_STATUS CloseQuery(PDH_HQUERY query) override
    {
        Record("close");
        Check(query == m_query && openQueries == 1);
        --openQueries;
        addedCounters = 0;
        return ERROR_SUCCESS;
    }
    DWORD Wait(HANDLE stopEvent, DWORD milliseconds) override
    {
        Record("wait " + std::to_string(milliseconds));
        Check(stopEvent == kStopEvent);
        usageAtWait.push_back(static_cast<LONG>(*m_usage));
        if (++m_waits < stopInWait)
            return WAIT_TIMEOUT;
        *m_stop = TRUE;
        return WAIT_OBJECT_0;
    }

private:
    void Record(const std::string& call)
    {
        log.push_back(call);
        // A sampler that never waits would loop for ever; end it here.
        if (log.size() > 200)
            *m_stop = TRUE;
    }
    void Check(bool condition)
    {
        if (!condition)
            misuse = true;
    }

    volatile LONG* m_usage;
    volatile BOOL* m_stop;
    PDH_HQUERY m_query = nullptr;
    PDH_HCOUNTER m_counter = nullptr;
    int m_opens = 0;
    int m_adds = 0;
    int m_formats = 0;
    int m_waits = 0;
};

using Log = std::vector<std::string>;
const Log kCycle = {"open", "add", "collect", "wait 1000", "collect", "format", "remove", "close"};

Log Concat(std::initializer_list<Log> parts)
{
    Log all;
    for (const Log& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class CpuSampler : public ::testing::Test
{
protected:
    volatile LONG usage = -1;
    volatile BOOL stop = FALSE;
    ScriptedPlatform platform{&usage, &stop};

    DWORD Run() { return RunCpuSampler(&usage, &stop, kStopEvent, platform); }

    void TearDown() override
    {
        // Whatever happened, every query opened was closed, no counter was
        // left in one, and no call went to a handle it did not belong to.
        EXPECT_EQ(0, platform.openQueries);
        EXPECT_EQ(0, platform.addedCounters);
        EXPECT_FALSE(platform.misuse);
        EXPECT_LE(platform.log.size(), 200u) << "the sampler did not wait between cycles";
    }
};

TEST_F(CpuSampler, StopBeforeTheFirstCycleOpensNothing)
{
    stop = TRUE;
    EXPECT_EQ(0u, Run());
    EXPECT_TRUE(platform.log.empty());
    EXPECT_EQ(-1, usage);
}

TEST_F(CpuSampler, StopDuringTheWaitEndsAfterThatCycleHasPublishedAndClosed)
{
    platform.formatted[1] = 42;
    platform.stopInWait = 1;
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(kCycle, platform.log);
    EXPECT_EQ(L"\\Processor(_Total)\\% Processor Time", platform.addedPath);
    EXPECT_EQ(42, usage);
}

TEST_F(CpuSampler, FailedOpenPublishesZeroAndRetriesAfterEachWait)
{
    platform.openFails = {{1, true}, {2, true}};
    platform.formatted[1] = 30;
    platform.stopInWait = 3;
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(Concat({{"open", "wait 1000", "open", "wait 1000"}, kCycle}), platform.log);
    EXPECT_EQ((std::vector<LONG>{0, 0, 0}), platform.usageAtWait);
    EXPECT_EQ(30, usage);
}

TEST_F(CpuSampler, EachCycleMeasuresAfresh)
{
    platform.formatted = {{1, 12}, {2, 0}, {3, 100}};
    platform.stopInWait = 3;
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(Concat({kCycle, kCycle, kCycle}), platform.log);
    EXPECT_EQ((std::vector<LONG>{-1, 12, 0}), platform.usageAtWait);
    EXPECT_EQ(100, usage);
}

TEST_F(CpuSampler, FormatFailurePublishesTheLastMeasurementOrNothingBeforeTheFirst)
{
    // First cycle: nothing to publish. Second: 42. Third: the query cannot
    // be opened, 0. Fourth: formatting fails, 42 again.
    platform.formatted = {{1, kFormatFails}, {2, 42}, {3, kFormatFails}};
    platform.openFails[3] = true;
    platform.stopInWait = 4;
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(Concat({kCycle, kCycle, {"open", "wait 1000"}, kCycle}), platform.log);
    EXPECT_EQ((std::vector<LONG>{-1, -1, 0, 0}), platform.usageAtWait);
    EXPECT_EQ(42, usage);
}

TEST_F(CpuSampler, FailedAddNeverCollectsOrFormatsButClosesAndWaits)
{
    platform.addFails[1] = true;
    platform.formatted[1] = 55;
    platform.stopInWait = 2;
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(Concat({{"open", "add", "close", "wait 1000"}, kCycle}), platform.log);
    EXPECT_EQ((std::vector<LONG>{-1, -1}), platform.usageAtWait);
    EXPECT_EQ(55, usage);
}

TEST(CpuSamplerOnThisSystem, ReportsTheLoadOfBusyCores)
{
    // Wine's own processor-time counter stays at one figure whatever the
    // load; the sampler's default platform must see the load all the same.
    volatile LONG usage = 0;
    volatile BOOL stop = FALSE;
    std::thread sampler([&] { RunCpuSampler(&usage, &stop, nullptr, DefaultSamplerPlatform()); });

    LONG highest = 0;
    std::vector<LONG> outOfRange;
    {
        BusyCores busy;
        DWORD start = ::GetTickCount();
        while (highest < 50 && ::GetTickCount() - start < 8000)
        {
            ::Sleep(50);
            LONG seen = usage;
            if (seen < 0 || seen > 100)
                outOfRange.push_back(seen);
            highest = seen > highest ? seen : highest;
        }
    }
    stop = TRUE;
    sampler.join();

    EXPECT_GE(highest, 50);
    EXPECT_EQ(std::vector<LONG>(), outOfRange);
}

} // namespace
