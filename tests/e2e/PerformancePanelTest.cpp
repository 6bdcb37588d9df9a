#include "Driver.h"

#include "res/resource.h"
#include "tests/support/SettingsKeys.h"

#include "tests/support/BusyCores.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace e2e;

using PerformancePanel = testing_registry::CleanSettingsTest;

// The percentage the CPU line shows, or -1 when it does not read as one.
int CpuPercent(HWND line)
{
    std::wstring text = Text(line);
    int percent = -1;
    if (swscanf(text.c_str(), L"CPU使用率: %d", &percent) != 1
        || text != L"CPU使用率: " + std::to_wstring(percent) + L"%")
        return -1;
    return percent;
}

TEST_F(PerformancePanel, ShowsAMeasuredCpuUsageSoonAfterStartAndTheCommitCharge)
{
    BusyCores busy;
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    HWND cpu = program.Control(IDC_PERF_CPU);
    ASSERT_NE(nullptr, cpu);
    // The first measurement takes a second.
    EXPECT_EQ(L"CPU使用率: 0%", Text(cpu));

    // It is ready just after the second refresh and shown by the third, at
    // 1.5 s; a measurement that took another cycle would come a second later.
    EXPECT_TRUE(WaitUntil([&] { return CpuPercent(cpu) > 0; }, 2000)) << Text(cpu);
    EXPECT_LE(CpuPercent(cpu), 100);

    std::wstring commit = Text(program.Control(IDC_PERF_COMMIT));
    unsigned long long used = 0;
    unsigned long long limit = 0;
    ASSERT_EQ(2, swscanf(commit.c_str(), L"コミットチャージ: %I64uMB / %I64uMB", &used, &limit))
        << commit;
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    EXPECT_EQ(status.ullTotalPageFile >> 20, limit);
    EXPECT_GT(used, 0u);
    EXPECT_LE(used, limit);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

TEST_F(PerformancePanel, HiddenPanelGoesOnMeasuring)
{
    BusyCores busy;
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    HWND panel = program.Panel(IDC_PERF_CPU);
    ChooseMenu(program.Frame(), ID_VIEW_PERFORMANCE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel); }));

    HWND cpu = program.Control(IDC_PERF_CPU);
    EXPECT_TRUE(WaitUntil([&] { return CpuPercent(cpu) > 0; }, 3000)) << Text(cpu);
    EXPECT_FALSE(::IsWindowVisible(panel));
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

TEST_F(PerformancePanel, CloseWhileTheSamplerSleepsEndsTheProgramPromptly)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    // Past the first measurement the sampler spends nearly all its time in
    // the one-second sleep between its two readings.
    HWND cpu = program.Control(IDC_PERF_CPU);
    ::Sleep(1500);
    ASSERT_GE(CpuPercent(cpu), 0);
    // The sampler ends its cycle, at most a second, before the program can.
    EXPECT_TRUE(program.Close(1200));
    ASSERT_TRUE(program.WaitForExit(10000));
    EXPECT_EQ(0u, program.ExitCode());
}

} // namespace
