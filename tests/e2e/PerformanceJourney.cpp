#include "res/resource.h"
#include "tests/support/BusyCores.h"
#include "tests/support/Program.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace support;

// Both editions show the system's own commit figures, in whole MiB.
TEST(PerformanceJourney, ShowsTheCommitChargeAndAMeasuredCpuUsageAlsoWhileHidden)
{
    BusyCores busy;
    Ortelan program;
    HWND cpu = program.Control(IDC_PERF_CPU);
    // The first measurement takes a second; with every core busy it is at
    // least half of the machine, whatever the platform's own counter says.
    EXPECT_EQ(L"CPU使用率: 0%", Text(cpu));
    EXPECT_TRUE(WaitUntil([&] { return CpuPercent(Text(cpu)) >= 50; })) << Text(cpu);
    EXPECT_LE(CpuPercent(Text(cpu)), 100);

    std::wstring commit = program.TextOf(IDC_PERF_COMMIT);
    unsigned long long used = 0;
    unsigned long long limit = 0;
    ASSERT_EQ(2, swscanf(commit.c_str(), L"コミットチャージ: %I64uMB / %I64uMB", &used, &limit)) << commit;
    EXPECT_EQ(commit, L"コミットチャージ: " + std::to_wstring(used) + L"MB / " + std::to_wstring(limit) + L"MB");
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    EXPECT_EQ(status.ullTotalPageFile >> 20, limit);
    EXPECT_GT(used, 0u);
    EXPECT_LE(used, limit);

    // Hidden, the panel goes on refreshing both lines.
    HWND panel = program.Panel(IDC_PERF_CPU);
    program.Choose(ID_VIEW_PERFORMANCE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel); }));
    // A refresh may come between the two; the next one restores both.
    SetText(cpu, L"");
    SetText(program.Control(IDC_PERF_COMMIT), L"");
    EXPECT_TRUE(WaitUntil([&] { return CpuPercent(Text(cpu)) > 0 && program.TextOf(IDC_PERF_COMMIT) != L""; }))
        << Text(cpu);
    EXPECT_EQ(commit.substr(0, 10), program.TextOf(IDC_PERF_COMMIT).substr(0, 10));
    EXPECT_FALSE(::IsWindowVisible(panel));
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

} // namespace
