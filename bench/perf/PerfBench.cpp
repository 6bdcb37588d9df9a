// Measures what the performance monitor costs: the CPU time of the whole
// running program while idle, beside a bare program doing the same job run at
// the same time, and the time of one refresh of the panel, beside two plain
// text updates.
//   build/wine-exec.sh build/bench/perf_bench.exe [idle seconds, 60]
#include "bench/support/Measure.h"
#include "bench/support/ProcessCpu.h"
#include "bench/support/Program.h"
#include "perf/WndPerformanceMonitor.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int MeasureIdle(int seconds)
{
    CProgram ortelan(BesideThisProgram(L"..\\Ortelan.exe"), L"OT_MainFrame");
    CProgram bare(BesideThisProgram(L"bare_same_job.exe"), L"OrtelanBenchBareJob");
    if (ortelan.Start() < 0 || bare.Start() < 0)
    {
        std::printf("could not start both programs\n");
        return 1;
    }

    CProcessCpuClock ortelanClock(ortelan.Info(), ortelan.Path());
    CProcessCpuClock bareClock(bare.Info(), bare.Path());
    // Start-up is not idle time.
    ::Sleep(2000);
    double ortelanBefore = ortelanClock.ElapsedMs();
    double bareBefore = bareClock.ElapsedMs();
    double start = NowMs();
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    double ortelanMs = ortelanClock.ElapsedMs() - ortelanBefore;
    double bareMs = bareClock.ElapsedMs() - bareBefore;
    double wallMs = NowMs() - start;

    std::printf("Idle CPU time over %.1f s, both programs running at once (%s):\n", wallMs / 1000.0,
                ortelanClock.Source());
    std::printf("  %-28s %9.2f ms  %7.4f %% of one core\n", "Ortelan.exe", ortelanMs, 100.0 * ortelanMs / wallMs);
    std::printf("  %-28s %9.2f ms  %7.4f %% of one core\n", "bare same job", bareMs, 100.0 * bareMs / wallMs);
    PrintRow("idle CPU, % of one core", 100.0 * ortelanMs / wallMs, 100.0 * bareMs / wallMs, "bare same-job program",
             "%", "<= 0.2 %");
    return 0;
}

// A refresh against its own floor: two lines set to fixed texts.
int MeasureRefresh()
{
    const int kCalls = 2000;
    HWND host = ::CreateWindowExW(0, L"Static", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    CWndPerformanceMonitor panel;
    HWND dialog = panel.Create(host);
    if (dialog == nullptr)
    {
        std::printf("could not create the panel\n");
        return 1;
    }
    ::ShowWindow(host, SW_SHOW);

    double start = NowMs();
    for (int i = 0; i < kCalls; ++i)
        panel.UpdateDisplay();
    double refreshUs = (NowMs() - start) * 1000.0 / kCalls;

    start = NowMs();
    for (int i = 0; i < kCalls; ++i)
    {
        ::SetDlgItemTextW(dialog, IDC_PERF_CPU, L"CPU使用率: 0%");
        ::SetDlgItemTextW(dialog, IDC_PERF_COMMIT, L"コミットチャージ: 0MB / 0MB");
    }
    double floorUs = (NowMs() - start) * 1000.0 / kCalls;
    ::DestroyWindow(dialog);
    ::DestroyWindow(host);

    std::printf("One refresh of the panel, mean of %d:\n", kCalls);
    std::printf("  UpdateDisplay                %9.1f us\n", refreshUs);
    std::printf("  two SetDlgItemTextW, fixed   %9.1f us   (baseline)\n", floorUs);
    PrintRow("one panel refresh", refreshUs, floorUs, "two fixed SetDlgItemTextW", "us");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (seconds <= 0)
        seconds = 60;

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);
    g_module.Init(::GetModuleHandleW(nullptr));

    int status = MeasureRefresh();
    std::fflush(stdout);
    if (status == 0)
        status = MeasureIdle(seconds);
    g_module.Term();
    return status;
}
