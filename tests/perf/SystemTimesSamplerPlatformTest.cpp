#include "perf/CpuSampler.h"
#include "perf/SystemTimesSamplerPlatform.h"

#include <gtest/gtest.h>

#include <pdhmsg.h>

namespace {

// Kernel time includes idle time, as GetSystemTimes reports it.
SystemTimes Reading(ULONGLONG idle, ULONGLONG kernel, ULONGLONG user)
{
    return {idle, kernel, user};
}

TEST(CpuUsageBetween, IsTheBusyShareOfTheElapsedTime)
{
    SystemTimes start = Reading(5000, 9000, 7000);
    // 1000 units elapsed, 250 of them idle.
    EXPECT_EQ(75, CpuUsageBetween(start, Reading(5250, 9600, 7400)));
    EXPECT_EQ(0, CpuUsageBetween(start, Reading(6000, 10000, 7000)));
    EXPECT_EQ(100, CpuUsageBetween(start, Reading(5000, 9300, 7700)));
}

TEST(CpuUsageBetween, RoundsToTheNearestWholePercent)
{
    SystemTimes start = Reading(0, 0, 0);
    EXPECT_EQ(75, CpuUsageBetween(start, Reading(255, 500, 500)));  // 74.5
    EXPECT_EQ(74, CpuUsageBetween(start, Reading(256, 500, 500)));  // 74.4
    EXPECT_EQ(1, CpuUsageBetween(start, Reading(1990, 2000, 0)));   // 0.5
    EXPECT_EQ(0, CpuUsageBetween(start, Reading(1991, 2000, 0)));   // 0.45
    EXPECT_EQ(100, CpuUsageBetween(start, Reading(1, 2000, 0)));    // 99.95
}

TEST(CpuUsageBetween, StaysWithinZeroAndOneHundred)
{
    SystemTimes start = Reading(4000, 8000, 8000);
    // Linux's idle figure can step back a little; that is no idle time.
    EXPECT_EQ(100, CpuUsageBetween(start, Reading(3990, 8100, 8100)));
    // More idle than elapsed time.
    EXPECT_EQ(0, CpuUsageBetween(start, Reading(4500, 8100, 8100)));
}

TEST(CpuUsageBetween, IsZeroWhenNoTimeElapsed)
{
    SystemTimes same = Reading(4000, 8000, 8000);
    EXPECT_EQ(0, CpuUsageBetween(same, same));
    EXPECT_EQ(0, CpuUsageBetween(same, Reading(4100, 8000, 8000)));
}

class SystemTimesPlatform : public ::testing::Test
{
protected:
    CSystemTimesSamplerPlatform platform;
    PDH_HQUERY query = nullptr;
    PDH_HCOUNTER counter = nullptr;
    PDH_FMT_COUNTERVALUE value = {};
};

TEST_F(SystemTimesPlatform, MeasuresBetweenTheLastTwoCollections)
{
    ASSERT_EQ(ERROR_SUCCESS, platform.OpenQuery(&query));
    ASSERT_EQ(ERROR_SUCCESS, platform.AddCounter(query, kProcessorTimeCounterPath, &counter));

    ASSERT_EQ(ERROR_SUCCESS, platform.CollectQueryData(query));
    value.longValue = 999;
    EXPECT_EQ(PDH_INVALID_DATA, platform.GetFormattedCounterValue(counter, PDH_FMT_LONG, &value));
    EXPECT_EQ(PDH_CSTATUS_INVALID_DATA, value.CStatus);

    for (int i = 0; i < 3; ++i)
    {
        ::Sleep(60);
        ASSERT_EQ(ERROR_SUCCESS, platform.CollectQueryData(query));
        value.longValue = 999;
        ASSERT_EQ(ERROR_SUCCESS, platform.GetFormattedCounterValue(counter, PDH_FMT_LONG, &value));
        EXPECT_EQ(PDH_CSTATUS_VALID_DATA, value.CStatus);
        EXPECT_GE(value.longValue, 0);
        EXPECT_LE(value.longValue, 100);
    }

    EXPECT_EQ(ERROR_SUCCESS, platform.RemoveCounter(counter));
    EXPECT_EQ(ERROR_SUCCESS, platform.CloseQuery(query));
}

TEST_F(SystemTimesPlatform, OffersOnlyTheProcessorTimeCounterFormattedAsLong)
{
    ASSERT_EQ(ERROR_SUCCESS, platform.OpenQuery(&query));
    EXPECT_NE(ERROR_SUCCESS, platform.AddCounter(query, L"\\Memory\\Committed Bytes", &counter));
    EXPECT_EQ(PDH_NO_DATA, platform.CollectQueryData(query));

    // Counter paths are not case-sensitive.
    ASSERT_EQ(ERROR_SUCCESS,
              platform.AddCounter(query, L"\\processor(_total)\\% processor time", &counter));
    platform.CollectQueryData(query);
    platform.CollectQueryData(query);
    EXPECT_EQ(PDH_INVALID_ARGUMENT, platform.GetFormattedCounterValue(counter, PDH_FMT_DOUBLE, &value));
    EXPECT_EQ(PDH_INVALID_ARGUMENT,
              platform.GetFormattedCounterValue(counter, PDH_FMT_LONG | PDH_FMT_NOCAP100, &value));
    EXPECT_EQ(ERROR_SUCCESS, platform.GetFormattedCounterValue(counter, PDH_FMT_LONG, &value));
    EXPECT_EQ(ERROR_SUCCESS, platform.CloseQuery(query));
}

} // namespace
