// Measures the console companion as a script runs it, this build's own
// OrtelanCmd.exe, each figure beside a baseline taken in the same run:
// - the machine's CPU share while /cpu:max keeps every processor busy 25, 50
//   and 100 % of the time, read from GetSystemTimes as the performance panel
//   reads it, beside the share asked for and the share with nothing started,
//   and the run's own CPU time as a share of the machine;
// - the idle CPU time of a hold with /log, beside the same hold without it
//   and the bare program that reads the same figures, all running at once,
//   as perf_bench measures Ortelan's;
// - how punctually the log's rows come over a long hold, beside a bare
//   500 ms schedule kept by this program at the same time.
//   build/wine-exec.sh build/bench/cmd_bench.exe [idle seconds, 60] [log hold seconds, 600]
#include "bench/support/ConsoleProgram.h"
#include "bench/support/Measure.h"
#include "bench/support/ProcessCpu.h"
#include "bench/support/Program.h"
#include "perf/SystemTimesSamplerPlatform.h"
#include "tests/support/Files.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const DWORD kStartTimeoutMs = 30000;
// What a run may take beyond its hold to release and end.
const DWORD kEndTimeoutMs = 30000;
const int kLoadSeconds = 8;
const DWORD kLoads[] = {25, 50, 100};
const double kRowIntervalMs = 500;
const double kLateMs = 100;

std::wstring OrtelanCmd()
{
    return BesideThisProgram(L"..\\OrtelanCmd.exe");
}

ULONGLONG Units(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

SystemTimes ReadSystemTimes()
{
    FILETIME idle = {};
    FILETIME kernel = {};
    FILETIME user = {};
    ::GetSystemTimes(&idle, &kernel, &user);
    return {Units(idle), Units(kernel), Units(user)};
}

// The panel's figure over a longer span, not rounded: the busy share of the
// elapsed processor time, the kernel time counting the idle time.
double BusyPercent(const SystemTimes& earlier, const SystemTimes& later)
{
    double idle = static_cast<double>(later.idle - earlier.idle);
    double total = static_cast<double>((later.kernel - earlier.kernel) + (later.user - earlier.user));
    return total > 0 ? 100.0 * (total - idle) / total : 0;
}

struct CpuShare
{
    double whole;
    // What the panel would have shown, second by second.
    std::vector<double> readings;
};

CpuShare MeasureCpuShare(int seconds)
{
    CpuShare share = {};
    SystemTimes first = ReadSystemTimes();
    SystemTimes last = first;
    for (int i = 0; i < seconds; ++i)
    {
        ::Sleep(1000);
        SystemTimes now = ReadSystemTimes();
        share.readings.push_back(CpuUsageBetween(last, now));
        last = now;
    }
    share.whole = BusyPercent(first, last);
    return share;
}

void PrintShare(const char* what, const CpuShare& share)
{
    std::printf("  %-24s %6.1f %%   each second:", what, share.whole);
    for (double reading : share.readings)
        std::printf(" %.0f", reading);
    std::printf("\n");
}

// The output's line that begins with start, without its line end.
std::string LineOf(const std::string& output, const char* start)
{
    size_t at = ("\n" + output).find(std::string("\n") + start);
    if (at == std::string::npos)
        return std::string();
    size_t end = output.find_first_of("\r\n", at);
    return output.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

DWORD ProcessorCount()
{
    SYSTEM_INFO system = {};
    ::GetSystemInfo(&system);
    return system.dwNumberOfProcessors;
}

// Each load right after the machine's share with nothing started, so that
// on a shared machine the two are seen under the same other work. The
// run's own CPU time over the same span tells what it took whatever else
// runs, as a share of all the processors.
int MeasureCpuLoad()
{
    std::printf("The machine's CPU share from GetSystemTimes over %d s, as the panel computes it, and OrtelanCmd's "
                "own share of the %lu processors:\n",
                kLoadSeconds, ProcessorCount());
    for (DWORD load : kLoads)
    {
        CpuShare idle = MeasureCpuShare(kLoadSeconds);
        PrintShare("nothing started", idle);
        // The hold outlasts the measurement, which starts once the busy
        // threads have begun their first period.
        CConsoleProgram run(OrtelanCmd(), L"/cpu:max /load:" + std::to_wstring(load) + L" /hold:" +
                                              std::to_wstring(kLoadSeconds + 2));
        if (!run.Start() || !run.WaitForLine("hold:", kStartTimeoutMs))
        {
            std::printf("OrtelanCmd /cpu:max /load:%lu did not reach its hold:\n%s\n", load, run.Output().c_str());
            return 1;
        }
        CProcessCpuClock clock(run.Info(), run.Path(), run.Arguments());
        ::Sleep(500);
        ULONGLONG before = clock.ElapsedNs();
        double start = NowMs();
        CpuShare share = MeasureCpuShare(kLoadSeconds);
        double ownPercent = 100.0 * clock.MsSince(before) / (NowMs() - start) / ProcessorCount();
        DWORD code = run.Wait((kLoadSeconds + 2) * 1000 + kEndTimeoutMs);
        std::string what = "/cpu:max /load:" + std::to_string(load);
        PrintShare(what.c_str(), share);
        std::printf("  %-24s %6.1f %%   %s (exit code %lu)\n", "OrtelanCmd's own", ownPercent,
                    LineOf(run.Output(), "cpu:").c_str(), code);

        char context[80];
        std::snprintf(context, sizeof(context), "asked; %.1f %% with nothing started just before", idle.whole);
        PrintRow(("machine CPU share, " + what).c_str(), share.whole, load, context, "%", "within 5 points");
        PrintRow(("OrtelanCmd's own CPU share, " + what).c_str(), ownPercent, load, "asked", "%");
    }
    return 0;
}

// Two holds of 1 MB at once, one of them logging, and the bare program that
// reads the same figures as often (perf_bench's baseline for Ortelan's
// panel), since a hold without the log does next to nothing at all. Start-up
// is not idle time.
int MeasureLogCost(int seconds)
{
    const std::wstring csv = TemporaryPath(L".csv");
    const std::wstring hold = L"/memory:1 /hold:" + std::to_wstring(seconds + 3);
    CConsoleProgram plain(OrtelanCmd(), hold);
    CConsoleProgram logged(OrtelanCmd(), hold + L" /log:" + csv);
    CProgram sameJob(BesideThisProgram(L"bare_same_job.exe"), L"OrtelanBenchBareJob");
    if (!plain.Start() || !logged.Start() || sameJob.Start() < 0 || !plain.WaitForLine("hold:", kStartTimeoutMs) ||
        !logged.WaitForLine("hold:", kStartTimeoutMs))
    {
        std::printf("the two holds and the bare program did not all start:\n%s\n%s\n", plain.Output().c_str(),
                    logged.Output().c_str());
        ::DeleteFileW(csv.c_str());
        return 1;
    }
    CProcessCpuClock plainClock(plain.Info(), plain.Path(), plain.Arguments());
    CProcessCpuClock loggedClock(logged.Info(), logged.Path(), logged.Arguments());
    CProcessCpuClock sameJobClock(sameJob.Info(), sameJob.Path());
    ::Sleep(2000);
    ULONGLONG plainBefore = plainClock.ElapsedNs();
    ULONGLONG loggedBefore = loggedClock.ElapsedNs();
    ULONGLONG sameJobBefore = sameJobClock.ElapsedNs();
    double start = NowMs();
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    double plainMs = plainClock.MsSince(plainBefore);
    double loggedMs = loggedClock.MsSince(loggedBefore);
    double sameJobMs = sameJobClock.MsSince(sameJobBefore);
    double wallMs = NowMs() - start;
    sameJob.Close();
    plain.Wait(3000 + kEndTimeoutMs);
    logged.Wait(3000 + kEndTimeoutMs);
    ::DeleteFileW(csv.c_str());

    std::printf("Idle CPU time of OrtelanCmd %ls over %.1f s, all three at once (%s):\n", hold.c_str(),
                wallMs / 1000.0, loggedClock.Source());
    std::printf("  %-28s %9.2f ms  %7.4f %% of one core\n", "with /log", loggedMs, 100.0 * loggedMs / wallMs);
    std::printf("  %-28s %9.2f ms  %7.4f %% of one core\n", "without /log", plainMs, 100.0 * plainMs / wallMs);
    std::printf("  %-28s %9.2f ms  %7.4f %% of one core\n", "bare same-job program", sameJobMs,
                100.0 * sameJobMs / wallMs);
    PrintRow("idle CPU of a hold with /log, % of one core", 100.0 * loggedMs / wallMs, 100.0 * plainMs / wallMs,
             "the same hold without /log", "%", "<= 1.2x");
    PrintRow("idle CPU of a hold with /log, % of one core", 100.0 * loggedMs / wallMs, 100.0 * sameJobMs / wallMs,
             "bare same-job program", "%");
    return 0;
}

struct Punctuality
{
    size_t rows;
    int late;
    double latestMs;
    double medianStepMs;
    double largestGapMs;
};

// Row k is due k times 500 ms after the first.
Punctuality Judge(const std::vector<double>& rowMs)
{
    Punctuality judged = {rowMs.size(), 0, 0, 0, 0};
    std::vector<double> steps;
    for (size_t k = 0; k < rowMs.size(); ++k)
    {
        double lateness = rowMs[k] - static_cast<double>(k) * kRowIntervalMs;
        if (lateness > kLateMs)
            ++judged.late;
        if (lateness > judged.latestMs)
            judged.latestMs = lateness;
        if (k > 0)
            steps.push_back(rowMs[k] - rowMs[k - 1]);
    }
    judged.medianStepMs = Median(steps);
    judged.largestGapMs = Worst(steps);
    return judged;
}

// The seconds column of every row of the log but its last, which comes
// after the release, off the schedule, in ms.
std::vector<double> ScheduledRowMs(const std::string& csv)
{
    std::vector<double> rows;
    size_t at = csv.find('\n');
    while (at != std::string::npos && at + 1 < csv.size())
    {
        size_t comma = csv.find(',', at + 1);
        if (comma == std::string::npos)
            break;
        rows.push_back(1000.0 * std::strtod(csv.c_str() + comma + 1, nullptr));
        at = csv.find('\n', at + 1);
    }
    if (!rows.empty())
        rows.pop_back();
    return rows;
}

// The least a 500 ms schedule can be here: sleeping to each due time and
// noting when it woke, nothing else.
std::vector<double> BareSchedule(int seconds)
{
    std::vector<double> ticks;
    double start = NowMs();
    ticks.push_back(0);
    for (int k = 1; k * kRowIntervalMs <= seconds * 1000.0; ++k)
    {
        double ahead = start + k * kRowIntervalMs - NowMs();
        if (ahead > 0)
            ::Sleep(static_cast<DWORD>(ahead + 0.999));
        ticks.push_back(NowMs() - start);
    }
    return ticks;
}

void PrintPunctuality(const char* what, const Punctuality& p)
{
    std::printf("  %-32s %6zu %6d %10.1f %10.1f %10.1f\n", what, p.rows, p.late, p.latestMs, p.medianStepMs,
                p.largestGapMs);
}

int MeasurePunctuality(int seconds)
{
    const std::wstring csv = TemporaryPath(L".csv");
    CConsoleProgram logged(OrtelanCmd(), L"/log:" + csv + L" /hold:" + std::to_wstring(seconds));
    if (!logged.Start())
    {
        std::printf("OrtelanCmd /log could not be started\n");
        return 1;
    }
    Punctuality bare = Judge(BareSchedule(seconds));
    DWORD code = logged.Wait(kEndTimeoutMs);
    const std::string text = support::ReadWholeFile(csv);
    ::DeleteFileW(csv.c_str());
    Punctuality log = Judge(ScheduledRowMs(text));
    if (code != 0 || log.rows < 2)
    {
        std::printf("OrtelanCmd /log /hold:%d ended with %lu after %zu rows:\n%s\n", seconds, code, log.rows,
                    logged.Output().c_str());
        return 1;
    }

    std::printf("Rows of the log over a hold of %d s (%d due), each due 500 ms after the one before, ms:\n", seconds,
                2 * seconds + 1);
    std::printf("  %-32s %6s %6s %10s %10s %10s\n", "", "rows", "late", "latest by", "median step", "largest gap");
    PrintPunctuality("OrtelanCmd /log", log);
    PrintPunctuality("bare schedule, same time", bare);
    std::printf("  late: more than %.0f ms after its time; the last row, after the release, left out\n", kLateMs);
    const std::string hold = std::to_string(seconds) + " s hold";
    PrintRow(("log rows late > 100 ms, " + hold).c_str(), log.late, bare.late, "bare 500 ms schedule, same time",
             "rows", "0");
    PrintRow(("log row step, median, " + hold).c_str(), log.medianStepMs, bare.medianStepMs,
             "bare 500 ms schedule, same time", "ms");
    PrintRow(("log rows' largest gap, " + hold).c_str(), log.largestGapMs, bare.largestGapMs,
             "bare 500 ms schedule, same time", "ms");
    return 0;
}

int Seconds(int argc, char** argv, int index, int fallback)
{
    int seconds = argc > index ? std::atoi(argv[index]) : 0;
    return seconds > 0 ? seconds : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    const int idle = Seconds(argc, argv, 1, 60);
    const int logHold = Seconds(argc, argv, 2, 600);
    int status = MeasureCpuLoad();
    std::fflush(stdout);
    status |= MeasureLogCost(idle);
    std::fflush(stdout);
    status |= MeasurePunctuality(logHold);
    return status;
}
