#include "framework/SystemLibrary.h"
#include "perf/CpuSampler.h"
#include "perf/PdhSamplerPlatform.h"

#include <gtest/gtest.h>

namespace {

TEST(FindAddCounter, TakesTheEnglishPathCallWhereThereIsOne)
{
    HMODULE pdh = LoadSystemLibrary(L"pdh.dll");
    ASSERT_NE(nullptr, pdh);
    FARPROC english = ::GetProcAddress(pdh, "PdhAddEnglishCounterW");
    ASSERT_NE(nullptr, english) << "this pdh.dll has no PdhAddEnglishCounterW";
    EXPECT_EQ(reinterpret_cast<void*>(english), reinterpret_cast<void*>(FindAddCounter(pdh)));
    // A module without either call gives none, never a call into nothing.
    EXPECT_EQ(nullptr, FindAddCounter(::GetModuleHandleW(L"kernel32.dll")));
    EXPECT_EQ(nullptr, FindAddCounter(nullptr));
}

TEST(PdhSamplerPlatform, RunsACycleOnTheSystemsCounter)
{
    CPdhSamplerPlatform platform;
    PDH_HQUERY query = nullptr;
    PDH_HCOUNTER counter = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, platform.OpenQuery(&query));
    ASSERT_EQ(ERROR_SUCCESS, platform.AddCounter(query, kProcessorTimeCounterPath, &counter));
    EXPECT_EQ(ERROR_SUCCESS, platform.CollectQueryData(query));
    ::Sleep(100);
    EXPECT_EQ(ERROR_SUCCESS, platform.CollectQueryData(query));
    PDH_FMT_COUNTERVALUE value = {};
    value.longValue = -1;
    EXPECT_EQ(ERROR_SUCCESS, platform.GetFormattedCounterValue(counter, PDH_FMT_LONG, &value));
    EXPECT_GE(value.longValue, 0);
    EXPECT_LE(value.longValue, 100);
    EXPECT_EQ(ERROR_SUCCESS, platform.RemoveCounter(counter));
    EXPECT_EQ(ERROR_SUCCESS, platform.CloseQuery(query));
}

} // namespace
