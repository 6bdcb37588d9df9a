#include "tests/support/Console.h"
#include "tests/support/Edition.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

using namespace support;

bool Shows(const std::wstring& output, const std::wstring& lines)
{
    return output.find(L"\n" + lines + L"\r\n") != std::wstring::npos;
}

// "N thread(s)", N the logical processors this test, and so the runs it
// starts, may run on.
std::wstring ProcessorThreads()
{
    DWORD_PTR mine = 0;
    DWORD_PTR all = 0;
    ::GetProcessAffinityMask(::GetCurrentProcess(), &mine, &all);
    int count = 0;
    for (; mine != 0; mine &= mine - 1)
        ++count;
    return std::to_wstring(count) + (count == 1 ? L" thread" : L" threads");
}

// The log's rows after its header, each split at its commas.
std::vector<std::vector<std::string>> LogRows(const std::wstring& path, std::string* header)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(ReadWholeFile(path));
    for (std::string line; std::getline(lines, line);)
    {
        EXPECT_EQ('\r', line.back());
        line.pop_back();
        if (header->empty())
        {
            *header = line;
            continue;
        }
        std::istringstream fields(line + ",");
        rows.emplace_back();
        for (std::string field; std::getline(fields, field, ',');)
            rows.back().push_back(field);
        EXPECT_EQ(10u, rows.back().size()) << line;
    }
    return rows;
}

const char kHeader[] =
    "time,seconds,commit_mb,commit_limit_mb,cpu_percent,available_mb,resident_mb,file_bytes,free_bytes,state";

// Each is refused before anything is committed or made: exit 1, no output,
// one line of error that names the switch first.
TEST(CommandJourney, BadCommandLinesAreRefusedBeforeAnythingIsCommittedOrMade)
{
    TempFolder folder;
    const std::wstring disk = L"/memory:1 /disk:" + folder.Path();
    const std::wstring above = L"/memory:" + std::to_wstring(edition::kMemoryFieldBound + 1);
    const std::wstring missing = L"/disk:" + folder.Path(L"missing");
    const std::wstring log = folder.Path(L"kept.csv");
    ASSERT_TRUE(WriteWholeFile(log, "kept"));
    // 2^64 + 1, which 64 bits would read as 1.
    const std::wstring wraps = L"18446744073709551617";
    // A folder that is there, but with no room in its path for "\Ortelan.dat".
    std::wstring deep = folder.Path();
    while (deep.size() < 508)
    {
        deep += L"\\" + std::wstring(std::min<size_t>(100, 507 - deep.size()), L'x');
        ::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    }
    const std::wstring tooLong = L"/disk:" + deep;
    const std::wstring cases[][2] = {
        {L"", L"/memory, /disk, /cpu or /log"}, {above + L" /hold:1", above}, {L"/memory:+5", L"/memory:+5"},
        {L"\"/memory: 5\"", L"/memory: 5"}, {L"/memory:５", L"/memory:５"}, {L"-memory:1 /MEMORY:1", L"/MEMORY:1"},
        {L"/memory:1 memory:1", L"memory:1"}, {L"/memory:1 /frob", L"/frob"}, {L"/memory:1 /size:1", L"/size"},
        {disk, L"/disk"}, {disk + L" /size:0", L"/size:0"}, {disk + L" /size:95367432", L"/size:95367432"},
        {disk + L" /size:leave:95367432", L"/size:leave:95367432"}, {disk + L" /size:1 /hold:4294968", L"/hold:4294968"},
        {L"/memory:1 " + missing + L" /size:1", missing}, {L"/memory:1 " + tooLong + L" /size:max", tooLong},
        {L"/memory:" + wraps, L"/memory:" + wraps}, {disk + L" /size:" + wraps, L"/size:" + wraps},
        {L"/memory:1 /hold:" + wraps, L"/hold:" + wraps}, {L"/memory:1 /disk:" + log + L" /size:1", L"/disk:" + log},
        {L"/cpu:1 /touch", L"/touch"}, {L"/memory:1 /touch:1", L"/touch:1"}, {L"/cpu:0", L"/cpu:0"},
        {L"/cpu:1025", L"/cpu:1025"}, {L"/cpu:1 /load:0", L"/load:0"}, {L"/cpu:1 /load:101", L"/load:101"},
        {L"/memory:1 /load:50", L"/load"}, {L"/memory:1 /log:" + log, L"/log:" + log},
        {L"/memory:1 /log:" + folder.Path(L"missing\\x.csv"), L"/log:" + folder.Path(L"missing\\x.csv")},
        {L"/size:1 /disk:\"" + folder.Path() + L"\\\"",
         L"/disk:" + folder.Path() + L"\": a folder in quotes must not end in a backslash\r\n"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c[0]);
        ConsoleRun run(c[0]);
        EXPECT_EQ(1u, run.Finish());
        EXPECT_EQ(L"\n", run.out);
        // The switch, or the whole line.
        EXPECT_EQ(0u, run.err.find(L"\nOrtelanCmd: " + c[1] + (c[1].back() == L'\n' ? L"" : L": "))) << run.err;
        EXPECT_EQ(run.err.size() - 2, run.err.find(L"\r\n"));
        EXPECT_EQ(-1, FileSize(folder.Path(L"Ortelan.dat")));
    }
    EXPECT_EQ("kept", ReadWholeFile(log));
    for (; deep.size() > folder.Path().size(); deep.resize(deep.rfind(L'\\')))
        ::RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
}

// /? names each switch with its real range, the memory's of this edition.
TEST(CommandJourney, TheUsageGivesEachSwitchItsRange)
{
    ConsoleRun usage(L"/memory:x -?");
    EXPECT_EQ(0u, usage.Finish());
    const std::wstring ranges[][2] = {
        {L"/memory:N", L"(0 to " + std::to_wstring(edition::kMemoryFieldBound) + L")"}, {L"/size:N", L"(1 to 95367431)"},
        {L"/size:leave:N", L"(0 to 95367431)"}, {L"/cpu:N", L"(1 to 1024)"}, {L"/load:P", L"(1 to 100; 100)"},
        {L"/hold:S", L"(0 to 4294967)"},
    };
    for (const auto& range : ranges)
    {
        size_t line = usage.out.find(L"\n  " + range[0] + L" ");
        ASSERT_NE(std::wstring::npos, line) << range[0];
        EXPECT_LT(usage.out.find(range[1], line), usage.out.find(L"\r\n", line)) << range[0];
    }
}

// As the memory panel's buttons commit, with the commit limit it shows; a
// request above what this edition's process can have is refused with 2.
// Touched, the memory is taken from RAM, as seen from outside the process.
TEST(CommandJourney, MemoryIsCommittedAsThePanelCommitsItAndTouchedTakesRam)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatusEx(&status);
    ConsoleRun held(L"-Memory:200");
    ConsoleRun touched(L"/memory:200 /touch");
    ASSERT_TRUE(held.WaitForLine(L"hold: until Enter")) << held.err;
    // Input without a line end does not end the hold.
    held.Enter("y");
    ASSERT_TRUE(touched.WaitForLine(L"hold: until Enter")) << touched.err;
    const ULONGLONG untouched = held.Resident();
    EXPECT_LT(untouched, 195 * kMiB);
    EXPECT_GE(touched.Resident(), untouched + 195 * kMiB);
    EXPECT_TRUE(held.WaitForLine(L"hold:") && held.out.find(L"released:") == std::wstring::npos);
    for (ConsoleRun* run : {&held, &touched})
    {
        run->Enter();
        EXPECT_EQ(0u, run->Finish());
        size_t line = run->out.find(L"\nmemory: asked 200 MB; got 200 MB; commit charge ");
        const std::wstring limit = L" of " + std::to_wstring(status.ullTotalPageFile >> 20) + L" MB";
        EXPECT_EQ(run->out.find(limit, line) + limit.size(), run->out.find(run == &held ? L"\r\n" : L"; resident ", line))
            << run->out;
        EXPECT_TRUE(Shows(run->out, L"released: memory 200 MB")) << run->out;
    }
    EXPECT_GE(std::stoul(touched.out.substr(touched.out.find(L"; resident ") + 11)), 200u) << touched.out;
    // The limit leaves no room for a thread, so the run starts its own first.
    ConsoleRun max(L"/memory:MAX /cpu:1");
    ASSERT_TRUE(max.WaitForLine(L"hold: until Enter")) << max.err;
    max.Enter();
    EXPECT_EQ(0u, max.Finish());
    EXPECT_NE(std::wstring::npos, max.out.find(L"\nmemory: asked max; got ")) << max.out;
    // Refused, the memory is the first step and the last.
    TempFolder folder;
    ConsoleRun refused(L"/memory:" + std::to_wstring(edition::kMemoryFieldBound) + L" /disk:" + folder.Path() +
                       L" /size:1");
    EXPECT_EQ(2u, refused.Finish());
    EXPECT_TRUE(Shows(refused.err, L"OrtelanCmd: memory: refused: not enough memory")) << refused.err;
    EXPECT_EQ(std::wstring::npos, refused.out.find(L"\ndisk:")) << refused.out;
    EXPECT_EQ(-1, FileSize(folder.Path(L"Ortelan.dat")));
}

// On the fixture's 16 MiB tmpfs, whose free space is measured at the folder.
TEST(CommandJourney, FilesLeaveTheFreeSpaceAskedOrFillTheVolumeAndNoOtherFileIsTouched)
{
    TestVolume volume = MountedVolume(L"full", 16 << 20);
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    const std::wstring file = volume.path + L"\\Ortelan.dat";
    const std::wstring sub = volume.path + L"\\sub";
    ::CreateDirectoryW(sub.c_str(), nullptr);
    ConsoleRun leave(L"/disk:" + volume.path + L" /size:LEAVE:5");
    ASSERT_TRUE(leave.WaitForLine(L"hold:")) << leave.err;
    EXPECT_EQ(5 * kMiB, FreeBytes(volume.path));
    EXPECT_TRUE(Shows(leave.out, L"disk: asked to leave 5 MB; got 11534336 bytes; free 5242880 bytes; file " + file));
    EXPECT_EQ(0u, leave.Finish()) << leave.err;
    EXPECT_EQ(-1, FileSize(file));

    // Full: every size is refused, and the file there, another's, stays.
    ConsoleRun max(L"/disk:" + volume.path + L" /size:MAX");
    ASSERT_TRUE(max.WaitForLine(L"hold:")) << max.err;
    EXPECT_EQ(0u, FreeBytes(volume.path));
    for (const std::wstring& other : {sub + L" /size:1", sub + L" /size:max", volume.path + L" /size:1"})
        EXPECT_EQ(3u, ConsoleRun(L"/disk:" + other).Finish()) << other;
    ConsoleRun none(L"/memory:10 /disk:" + sub + L" /size:leave:0 /cpu:1");
    EXPECT_EQ(3u, none.Finish());
    EXPECT_TRUE(Shows(none.err, L"OrtelanCmd: disk: file creation failed: no more than the 0 MB to leave is free"));
    EXPECT_TRUE(Shows(none.out, L"released: memory 10 MB; cpu 1 thread stopped; no file")) << none.out;
    // A log there has no room: it stops with its line, and the run goes on.
    const std::wstring log = sub + L"\\figures.csv";
    ConsoleRun logged(L"/memory:1 /hold:1 /log:" + log);
    EXPECT_EQ(0u, logged.Finish());
    EXPECT_EQ(L"\nOrtelanCmd: log: " + log + L" could not be written (its volume is full); the log stops, the run goes on\r\n",
              logged.err);
    EXPECT_TRUE(Shows(logged.out, L"released: memory 1 MB"));
    ::DeleteFileW(log.c_str());
    EXPECT_EQ(LONGLONG(16 * kMiB), FileSize(file));
    max.Enter();
    EXPECT_EQ(0u, max.Finish());
    EXPECT_EQ(16 * kMiB, FreeBytes(volume.path));
    ::RemoveDirectoryW(sub.c_str());
}

// Sizes and free space are counted in 64 bits, on a volume of 6 GiB.
TEST(CommandJourney, FilesFillOrLeaveSpaceOnAVolumeOfMoreThanFourGibibytes)
{
    TestVolume volume = MountedVolume(L"large", 6ULL << 30);
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    const ULONGLONG free = FreeBytes(volume.path);
    for (const std::wstring size : {L"max", L"leave:1000"})
    {
        ConsoleRun run(L"/disk:" + volume.path + L" /size:" + size + L" /hold:0");
        EXPECT_EQ(0u, run.Finish()) << run.err;
        unsigned long long got = 0;
        unsigned long long left = 0;
        size_t line = run.out.find(L"\ndisk: asked ");
        ASSERT_EQ(2, swscanf(run.out.c_str() + run.out.find(L"; got ", line), L"; got %llu bytes; free %llu", &got, &left));
        EXPECT_GT(got, 4ULL << 30) << size;
        EXPECT_GE(got + left + kMiB, free) << size;
        EXPECT_EQ(size == L"max" ? 0 : 1000 * kMiB, left - left % (1000 * kMiB)) << size;
    }
    EXPECT_EQ(free, FreeBytes(volume.path));
}

// Ctrl+C reaches the programs of the test's console; the session's end, the
// program's hidden window, which has cleaned up when it answers.
TEST(CommandJourney, HoldEndsByItselfAndAnInterruptionReleasesFirst)
{
    TempFolder folder;
    const std::wstring japanese = folder.Subfolder(L"圧迫テスト");
    const std::wstring file = japanese + L"\\Ortelan.dat";
    const DWORD start = ::GetTickCount();
    ConsoleRun timed(L"/memory:10 /disk:\"" + japanese + L"\" /size:1 /hold:1");
    EXPECT_TRUE(timed.WaitForLine(L"released:"));
    EXPECT_GE(::GetTickCount() - start, 1000u);
    EXPECT_EQ(0u, timed.Finish());
    EXPECT_TRUE(Shows(timed.out, L"hold: 1 s\r\nreleased: memory 10 MB; deleted " + file)) << timed.out;
    EXPECT_EQ(-1, FileSize(file));

    ::FreeConsole();
    ::AllocConsole();
    // From a console, Enter ends the hold, and nothing else: it holds while
    // another run comes and goes. Ctrl+C reaches it too, so it ends first.
    ConsoleRun console(L"/memory:10", L"CONIN$");
    ASSERT_TRUE(console.WaitForLine(L"hold: until Enter")) << console.err;
    for (const std::wstring way : {L"the session is ending", L"Ctrl+C"})
    {
        if (way == L"Ctrl+C")
        {
            EXPECT_TRUE(console.WaitForLine(L"hold:") && console.out.find(L"released:") == std::wstring::npos);
            INPUT_RECORD enter[2] = {};
            for (BOOL up : {FALSE, TRUE})
            {
                enter[up].EventType = KEY_EVENT;
                enter[up].Event.KeyEvent = {!up, 1, VK_RETURN, 0, {L'\r'}, 0};
            }
            DWORD written = 0;
            ::WriteConsoleInputW(::GetStdHandle(STD_INPUT_HANDLE), enter, 2, &written);
            EXPECT_EQ(0u, console.Finish());
            EXPECT_TRUE(Shows(console.out, L"released: memory 10 MB")) << console.out;
        }
        ConsoleRun run(L"/memory:10 /disk:" + japanese + L" /size:1");
        ASSERT_TRUE(run.WaitForLine(L"hold:")) << run.err;
        HWND window = run.SessionWindow();
        if (way == L"Ctrl+C")
        {
            ::SetConsoleCtrlHandler(nullptr, TRUE);
            ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
            EXPECT_TRUE(run.WaitForLine(L"released:"));
            ::SetConsoleCtrlHandler(nullptr, FALSE);
        }
        else
        {
            // It agrees to end. Its answer to the end itself can be lost, as
            // the run ends its process as soon as it has released; whenever
            // one comes, the file is gone already.
            EXPECT_EQ(DWORD_PTR(TRUE), Sent(window, WM_QUERYENDSESSION));
            if (Send(window, WM_ENDSESSION, TRUE))
            {
                EXPECT_EQ(-1, FileSize(file));
            }
        }
        EXPECT_EQ(4u, run.Finish());
        EXPECT_EQ(-1, FileSize(file));
        EXPECT_TRUE(Shows(run.err, L"OrtelanCmd: interrupted by " + way + L": everything held was released"));
    }
    ::FreeConsole();
}

// However a run ends, even by force, its file goes with it; a file that is
// not its own stays.
TEST(CommandJourney, ARunEndedByForceLeavesNoFileAndTouchesNoOther)
{
    TempFolder folder;
    const std::wstring mine = folder.Path(L"Ortelan.dat");
    const std::wstring foreign = folder.Subfolder(L"other") + L"\\Ortelan.dat";
    ASSERT_TRUE(WriteWholeFile(foreign, "someone else's"));
    ConsoleRun refused(L"/memory:10 /disk:" + folder.Path(L"other") + L" /size:1 /hold:600");
    ConsoleRun run(L"/memory:50 /disk:" + folder.Path() + L" /size:20 /hold:600");
    ASSERT_TRUE(run.WaitForLine(L"hold:")) << run.err;
    EXPECT_EQ(LONGLONG(20 * kMiB), FileSize(mine));
    HANDLE opened = ::CreateFileW(mine.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, opened) << "another program opened the run's file";
    if (opened != INVALID_HANDLE_VALUE)
        ::CloseHandle(opened);
    run.Kill();
    EXPECT_TRUE(WaitUntil([&] { return FileSize(mine) == -1; }));
    EXPECT_EQ(3u, refused.Finish());
    EXPECT_EQ("someone else's", ReadWholeFile(foreign));
}

// A thread busy for each processor brings the performance panel's own
// measurement to the whole machine.
TEST(CommandJourney, BusyThreadsFillTheProcessorsAsThePanelMeasuresThem)
{
    {
        Ortelan program;
        ConsoleRun busy(L"/cpu:MAX");
        ASSERT_TRUE(busy.WaitForLine(L"hold: until Enter")) << busy.err;
        EXPECT_TRUE(Shows(busy.out, L"cpu: asked max; " + ProcessorThreads() + L" busy 100% of the time")) << busy.out;
        HWND cpu = program.Control(IDC_PERF_CPU);
        EXPECT_TRUE(WaitUntil([&] { return CpuPercent(Text(cpu)) >= 90; })) << Text(cpu);
        busy.Enter();
        EXPECT_EQ(0u, busy.Finish());
        EXPECT_TRUE(Shows(busy.out, L"released: cpu " + ProcessorThreads() + L" stopped")) << busy.out;
    }

    // A thread busy half the time uses about half what one always busy uses
    // beside it, by their CPU times, however busy the machine is with other
    // work. Slow polls, and nothing else of the test's running, leave the two
    // threads the processors to themselves as far as the test can; under
    // emulation the thread at half load still gets only about 0.4 of the
    // other's time, so the bounds take in that much and no more than rules
    // out a load ignored or read as a tenth.
    ConsoleRun half(L"/cpu:1 /load:50");
    ConsoleRun full(L"/cpu:1");
    ASSERT_TRUE(half.WaitForLine(L"hold: until Enter") && full.WaitForLine(L"hold: until Enter"));
    const double halfBefore = half.Cpu();
    const double fullBefore = full.Cpu();
    EXPECT_TRUE(WaitUntil([&] { return full.Cpu() >= fullBefore + 2; }, kPatienceMs, 500));
    EXPECT_NEAR(0.5, (half.Cpu() - halfBefore) / (full.Cpu() - fullBefore), 0.25);
    full.Enter();
    EXPECT_EQ(0u, full.Finish());
    half.Enter();
    EXPECT_EQ(0u, half.Finish());
}

// A row every 500 ms from the start to the release and one after it, with
// the figures as the performance panel computes them.
TEST(CommandJourney, TheLogRecordsTheFiguresTwiceASecondFromTheStartToTheRelease)
{
    TestVolume volume = MountedVolume(L"full", 16 << 20);
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    TempFolder folder;
    const std::wstring log = folder.Path(L"figures.csv");
    ConsoleRun run(L"/memory:100 /disk:" + volume.path + L" /size:5 /cpu:1 /log:" + log + L" /hold:3");
    // Each row can be read as soon as it is due, and the last is there by the release's line.
    ASSERT_TRUE(run.WaitForLine(L"hold:")) << run.err;
    EXPECT_TRUE(WaitUntil([&] {
        std::string text = ReadWholeFile(log);
        return std::count(text.begin(), text.end(), '\n') >= 3;
    }));
    ASSERT_TRUE(run.WaitForLine(L"released: memory 100 MB; cpu 1 thread stopped; deleted " + volume.path)) << run.out;
    std::string header;
    auto rows = LogRows(log, &header);
    EXPECT_EQ(0u, run.Finish()) << run.err;
    EXPECT_EQ(kHeader, header);
    ASSERT_GE(rows.size(), 5u);
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatusEx(&status);
    std::string states;
    std::vector<double> steps;
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const auto& row = rows[i];
        SCOPED_TRACE(row[0] + "," + row[1] + " " + row.back());
        EXPECT_TRUE(row[0].size() == 23 && row[0][10] == 'T' && row[0][19] == '.');
        if (i > 0 && i + 1 < rows.size())
            steps.push_back(std::stod(row[1]) - std::stod(rows[i - 1][1]));
        EXPECT_LE(std::stoull(row[2]), std::stoull(row[3]));
        EXPECT_EQ(status.ullTotalPageFile >> 20, std::stoull(row[3]));
        EXPECT_TRUE(i == 0 ? row[4].empty() : row[4].empty() || std::stoul(row[4]) <= 100);
        EXPECT_GT(std::stoull(row[5]), 0u);
        EXPECT_GT(std::stoull(row[6]), 0u);
        states += row[9][0];
        // A row taken in the middle of a step may see the file or not.
        if (row[9] != "creating" && (row[9] != "released" || i + 1 == rows.size()))
        {
            EXPECT_EQ(row[9] == "holding" ? "5242880,11534336" : "0,16777216", row[7] + "," + row[8]);
        }
    }
    EXPECT_FALSE(rows[rows.size() - 2][4].empty());
    // Committing (perhaps then creating), holding, and released after the release.
    EXPECT_EQ("committing", rows[0][9]);
    states.erase(std::unique(states.begin(), states.end()), states.end());
    EXPECT_EQ("chr", states);
    std::sort(steps.begin(), steps.end());
    EXPECT_NEAR(0.5, steps[steps.size() / 2], 0.05);
    EXPECT_LE(steps.back(), 1.5);
}

// Without /hold a run holds until Enter, or until an input that is not a
// console ends: from NUL, an empty file or a closed pipe it releases at once.
// /log alone only records.
TEST(CommandJourney, InputsThatEndReleaseAtOnceAndALogAloneOnlyRecords)
{
    // Relative paths are taken from the current folder, which the runs inherit.
    TempFolder folder;
    const std::wstring empty = folder.Path(L"empty.txt");
    const std::wstring log = folder.Path(L"monitor.csv");
    ASSERT_TRUE(WriteWholeFile(empty, ""));
    WCHAR current[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, current);
    ::SetCurrentDirectoryW(folder.Path().c_str());
    ConsoleRun nul(L"/log:monitor.csv", L"NUL");
    ConsoleRun file(L"/memory:1 /disk:" + folder.Subfolder(L"sub").substr(folder.Path().size() + 1) + L" /size:1", empty);
    ConsoleRun pipe(L"/memory:1");
    for (ConsoleRun* run : {&nul, &file, &pipe})
    {
        EXPECT_EQ(0u, run->Finish());
        EXPECT_TRUE(Shows(run->out, run == &nul    ? L"log: " + log + L"\r\nhold: until Enter\r\nreleased: nothing was held"
                                    : run == &file ? L"hold: until Enter\r\nreleased: memory 1 MB; deleted " +
                                                         folder.Path(L"sub\\Ortelan.dat")
                                                   : L"hold: until Enter\r\nreleased: memory 1 MB")) << run->out;
    }
    ::SetCurrentDirectoryW(current);
    std::string header;
    auto rows = LogRows(log, &header);
    EXPECT_EQ(kHeader, header);
    ASSERT_GE(rows.size(), 2u);
    for (const auto& row : rows)
        EXPECT_EQ(&row == &rows.back() ? ",,released" : ",,holding", row[7] + "," + row[8] + "," + row[9]);
}

} // namespace
