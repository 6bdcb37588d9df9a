// Measures how fast Ortelan starts and ends, beside a bare program doing the
// same job (bench/support/BareSameJob.cpp), the two started by turns in one
// run:
// - start-up: from the process's creation to its visible main window;
// - close: from WM_CLOSE to the end of the process, right after start, at
//   moments spread over the CPU sampler's one-second cycle, and while
//   "限界作成" runs on the volume named by ORTELAN_BENCH_VOLUME (for example
//   P:, as tools/bench.sh mounts it).
//   build/wine-exec.sh build/bench/app_bench.exe
#include "bench/support/Measure.h"
#include "bench/support/Program.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kStarts = 5;
const int kCloses = 20;
const DWORD kSamplerCycleMs = 1000;
const DWORD kSettleMs = 300;
const char kBareName[] = "bare same-job program";

struct Samples
{
    std::vector<double> starts;
    std::vector<double> closesAfterStart;
    std::vector<double> closes;
    int failures = 0;

    void Add(std::vector<double>& to, double ms)
    {
        if (ms < 0)
            ++failures;
        else
            to.push_back(ms);
    }
};

void StartAndClose(CProgram& program, Samples& samples)
{
    // Each timed start begins on a settled system, not while Wine still
    // tears down the program before.
    ::Sleep(kSettleMs);
    samples.Add(samples.starts, program.Start());
    samples.Add(samples.closesAfterStart, program.Close());
}

void CloseAfter(CProgram& program, DWORD delayMs, Samples& samples)
{
    if (program.Start() < 0)
    {
        ++samples.failures;
        program.Close();
        return;
    }
    ::Sleep(delayMs);
    samples.Add(samples.closes, program.Close());
}

BOOL CALLBACK FindFolderField(HWND panel, LPARAM param)
{
    HWND field = ::GetDlgItem(panel, IDC_DISK_FOLDER);
    if (field == nullptr)
        return TRUE;
    *reinterpret_cast<HWND*>(param) = field;
    return FALSE;
}

// Presses "限界作成" on the volume's root and asks the program to close at
// once: the close waits for the creation, then deletes the file.
std::vector<double> ClosesDuringLimit(CProgram& ortelan, const std::wstring& root, int& failures)
{
    std::vector<double> closes;
    for (int i = 0; i < kStarts; ++i)
    {
        HWND folder = nullptr;
        if (ortelan.Start() >= 0)
            ::EnumChildWindows(ortelan.Window(), FindFolderField, reinterpret_cast<LPARAM>(&folder));
        if (folder == nullptr)
        {
            ++failures;
            ortelan.Close();
            continue;
        }
        ::SendMessageW(folder, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(root.c_str()));
        HWND panel = ::GetParent(folder);
        ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(IDC_DISK_CREATE_LIMIT, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(panel, IDC_DISK_CREATE_LIMIT)));
        double ms = ortelan.Close();
        if (ms < 0)
            ++failures;
        else
            closes.push_back(ms);
    }
    return closes;
}

void PrintSeries(const char* name, const char* program, const std::vector<double>& ms)
{
    std::printf("  %-34s %-22s median %8.1f ms   worst %8.1f ms   (", name, program, Median(ms), Worst(ms));
    for (double each : ms)
        std::printf(" %.0f", each);
    std::printf(" )\n");
}

} // namespace

int main()
{
    CProgram ortelan(BesideThisProgram(L"..\\Ortelan.exe"), L"OT_MainFrame");
    CProgram bare(BesideThisProgram(L"bare_same_job.exe"), L"OrtelanBenchBareJob");
    Samples ortelanSamples;
    Samples bareSamples;

    // One start of each that is not counted: the first start of a program
    // reads its files from disk.
    Samples warmUp;
    StartAndClose(ortelan, warmUp);
    StartAndClose(bare, warmUp);

    for (int i = 0; i < kStarts; ++i)
    {
        StartAndClose(ortelan, ortelanSamples);
        StartAndClose(bare, bareSamples);
    }
    for (int i = 0; i < kCloses; ++i)
    {
        DWORD delay = kSamplerCycleMs * static_cast<DWORD>(i) / kCloses;
        CloseAfter(ortelan, delay, ortelanSamples);
        CloseAfter(bare, delay, bareSamples);
    }

    std::printf("Start-up and close, Ortelan beside a bare program doing the same job:\n");
    PrintSeries("start-up to the visible window", "Ortelan", ortelanSamples.starts);
    PrintSeries("", kBareName, bareSamples.starts);
    PrintSeries("close right after start", "Ortelan", ortelanSamples.closesAfterStart);
    PrintSeries("", kBareName, bareSamples.closesAfterStart);
    PrintSeries("close 0 to 1 s after start", "Ortelan", ortelanSamples.closes);
    PrintSeries("", kBareName, bareSamples.closes);

    PrintRow("start-up, median of 5", Median(ortelanSamples.starts), Median(bareSamples.starts), kBareName, "ms",
             "<= 1.5x");
    PrintRow("close, median of 20", Median(ortelanSamples.closes), Median(bareSamples.closes), kBareName, "ms");
    PrintRow("close, worst of 20", Worst(ortelanSamples.closes), Worst(bareSamples.closes), kBareName, "ms",
             "<= 150 ms");
    PrintRow("close right after start, worst of 5", Worst(ortelanSamples.closesAfterStart),
             Worst(bareSamples.closesAfterStart), kBareName, "ms", "<= 150 ms");

    int failures = ortelanSamples.failures + bareSamples.failures + warmUp.failures;
    const char* volume = std::getenv("ORTELAN_BENCH_VOLUME");
    if (volume == nullptr || *volume == '\0')
    {
        std::printf("  close during the limit creation: skipped, no volume (tools/bench.sh mounts one)\n");
    }
    else
    {
        std::wstring root(volume, volume + std::strlen(volume));
        std::vector<double> closes = ClosesDuringLimit(ortelan, root + L"\\", failures);
        PrintSeries("close during the limit creation", "Ortelan", closes);
        PrintRow("close during 限界作成, worst of 5", Worst(closes), Worst(bareSamples.closes), kBareName, "ms",
                 "<= 150 ms");
    }
    if (failures != 0)
        std::printf("  %d starts or closes failed and are not counted\n", failures);
    return failures == 0 ? 0 : 1;
}
