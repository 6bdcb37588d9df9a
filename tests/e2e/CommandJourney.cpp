#include "tests/support/Console.h"
#include "tests/support/Edition.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

namespace {

using namespace support;

bool Shows(const std::wstring& output, const std::wstring& lines)
{
    return output.find(L"\n" + lines + L"\r\n") != std::wstring::npos;
}

// Each is refused before anything is committed or made: exit 1, no output,
// one line of error that names the switch first.
TEST(CommandJourney, BadCommandLinesAreRefusedBeforeAnythingIsCommittedOrMade)
{
    TempFolder folder;
    const std::wstring disk = L"/memory:1 /disk:" + folder.Path();
    const std::wstring above = L"/memory:" + std::to_wstring(edition::kMemoryFieldBound + 1);
    const std::wstring missing = L"/disk:" + folder.Path(L"missing");
    // A folder that is there, but with no room in its path for "\Ortelan.dat".
    std::wstring deep = folder.Path();
    while (deep.size() < 508)
    {
        deep += L"\\" + std::wstring(std::min<size_t>(100, 507 - deep.size()), L'x');
        ::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    }
    const std::wstring tooLong = L"/disk:" + deep;
    const std::wstring cases[][2] = {
        {L"", L"/memory or /disk"}, {above + L" /hold:1", above}, {L"/memory:+5", L"/memory:+5"},
        {L"\"/memory: 5\"", L"/memory: 5"}, {L"/memory:５", L"/memory:５"}, {L"-memory:1 /MEMORY:1", L"/MEMORY:1"},
        {L"/memory:1 memory:1", L"memory:1"}, {L"/memory:1 /frob", L"/frob"}, {L"/memory:1 /size:1", L"/size"},
        {disk, L"/disk"}, {disk + L" /size:0", L"/size:0"}, {disk + L" /size:95367432", L"/size:95367432"},
        {disk + L" /size:leave:95367432", L"/size:leave:95367432"}, {disk + L" /size:1 /hold:4294968", L"/hold:4294968"},
        {L"/memory:1 " + missing + L" /size:1", missing}, {L"/memory:1 " + tooLong + L" /size:max", tooLong},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c[0]);
        ConsoleRun run(c[0]);
        EXPECT_EQ(1u, run.Finish());
        EXPECT_EQ(L"\n", run.out);
        EXPECT_EQ(0u, run.err.find(L"\nOrtelanCmd: " + c[1] + L": ")) << run.err;
        EXPECT_EQ(run.err.size() - 2, run.err.find(L"\r\n"));
        EXPECT_EQ(-1, FileSize(folder.Path(L"Ortelan.dat")));
    }
    for (; deep.size() > folder.Path().size(); deep.resize(deep.rfind(L'\\')))
        ::RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
}

// As the memory panel's buttons commit, with the commit limit it shows; a
// request above what this edition's process can have is refused with 2.
TEST(CommandJourney, MemoryIsCommittedAsThePanelCommitsItAndHeldUntilEnter)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    ::GlobalMemoryStatusEx(&status);
    ConsoleRun held(L"-Memory:200");
    ASSERT_TRUE(held.WaitForLine(L"hold: until Enter")) << held.err;
    held.Enter();
    EXPECT_EQ(0u, held.Finish());
    size_t line = held.out.find(L"\nmemory: asked 200 MB; got 200 MB; commit charge ");
    const std::wstring limit = L" of " + std::to_wstring(status.ullTotalPageFile >> 20) + L" MB\r\n";
    EXPECT_EQ(held.out.find(L"\r\n", line) + 2, held.out.find(limit, line) + limit.size()) << held.out;
    EXPECT_TRUE(Shows(held.out, L"released: memory 200 MB")) << held.out;
    EXPECT_EQ(0u, ConsoleRun(L"/memory:max /hold:0").Finish());
    EXPECT_EQ(0u, ConsoleRun(L"/memory:x -?").Finish());
    ConsoleRun refused(L"/memory:" + std::to_wstring(edition::kMemoryFieldBound));
    EXPECT_EQ(2u, refused.Finish());
    EXPECT_TRUE(Shows(refused.err, L"OrtelanCmd: memory: refused: not enough memory")) << refused.err;
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
    ConsoleRun leave(L"/disk:" + volume.path + L" /size:leave:5");
    ASSERT_TRUE(leave.WaitForLine(L"hold:")) << leave.err;
    EXPECT_EQ(5 * kMiB, FreeBytes(volume.path));
    EXPECT_TRUE(Shows(leave.out, L"disk: asked to leave 5 MB; got 11534336 bytes; free 5242880 bytes; file " + file));
    EXPECT_EQ(0u, leave.Finish()) << leave.err;
    EXPECT_EQ(-1, FileSize(file));

    // Full: every size is refused, and the file there, another's, stays.
    ConsoleRun max(L"/disk:" + volume.path + L" /size:max");
    ASSERT_TRUE(max.WaitForLine(L"hold:")) << max.err;
    EXPECT_EQ(0u, FreeBytes(volume.path));
    for (const std::wstring& other : {sub + L" /size:1", sub + L" /size:max", volume.path + L" /size:1"})
        EXPECT_EQ(3u, ConsoleRun(L"/disk:" + other).Finish()) << other;
    ConsoleRun none(L"/disk:" + sub + L" /size:leave:0");
    EXPECT_EQ(3u, none.Finish());
    EXPECT_TRUE(Shows(none.err, L"OrtelanCmd: disk: file creation failed: no more than the 0 MB to leave is free"));
    EXPECT_EQ(LONGLONG(16 * kMiB), FileSize(file));
    max.Enter();
    EXPECT_EQ(0u, max.Finish());
    EXPECT_EQ(16 * kMiB, FreeBytes(volume.path));
    ::RemoveDirectoryW(sub.c_str());
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
    for (const std::wstring way : {L"Ctrl+C", L"the session is ending"})
    {
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
            EXPECT_TRUE(Send(window, WM_QUERYENDSESSION) && Send(window, WM_ENDSESSION, TRUE));
            EXPECT_EQ(-1, FileSize(file));
        }
        EXPECT_EQ(4u, run.Finish());
        EXPECT_EQ(-1, FileSize(file));
        EXPECT_TRUE(Shows(run.err, L"OrtelanCmd: interrupted by " + way + L": everything held was released"));
    }
    ::FreeConsole();
}

} // namespace
