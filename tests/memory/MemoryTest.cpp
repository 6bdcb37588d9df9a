#include "memory/WndMemory.h"
#include "tests/support/Edition.h"
#include "tests/support/InProcess.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

namespace {

// The system's own memory calls, counted, with a refusal on demand: after
// `grants` more commits the next one is refused with `error`.
struct Calls { int commits = 0; int releases = 0; int grants = -1; DWORD error = 0; } g_calls;

LPVOID WINAPI Commit(LPVOID address, SIZE_T size, DWORD type, DWORD protect)
{
    if (g_calls.grants-- == 0)
    {
        ::SetLastError(g_calls.error);
        return nullptr;
    }
    LPVOID block = ::VirtualAlloc(address, size, type, protect);
    g_calls.commits += block != nullptr ? 1 : 0;
    return block;
}

BOOL WINAPI Release(LPVOID address, SIZE_T size, DWORD type)
{
    ++g_calls.releases;
    return ::VirtualFree(address, size, type);
}

const MemoryPlatform kCounted = {Commit, Release, ::VirtualQuery, ::GetLastError, ::VirtualProtect};

void RefuseAfter(int grants, DWORD error) { g_calls.grants = grants, g_calls.error = error; }

// Each request first releases what is held; at a refusal the blocks before it
// stay or go as asked, and every block is released once. The x64 edition's limit
// run passes 4 GiB, where a 32-bit count would wrap; the 32-bit one's cannot.
TEST(MemoryEngine, RefusalIsClassifiedAndKeepsOrReleasesWhatCameBefore)
{
    g_calls = Calls();
    const struct { DWORD error; AllocResult result; } cases[] = {
        {ERROR_NOT_ENOUGH_MEMORY, AllocResult::OutOfMemory}, {ERROR_COMMITMENT_LIMIT, AllocResult::OutOfMemory},
        {ERROR_INVALID_PARAMETER, AllocResult::Failed}, {ERROR_OUTOFMEMORY, AllocResult::Failed}};
    CMemoryManager manager(kCounted);
    for (const auto& c : cases)
    {
        for (BOOL releaseOnFailure : {FALSE, TRUE})
        {
            SCOPED_TRACE(testing::Message() << c.error << (releaseOnFailure ? " released" : " kept"));
            ASSERT_EQ(AllocResult::Success, manager.Allocate(3 * kMiB + 1, TRUE));
            EXPECT_EQ(3 * kMiB + 4096, manager.GetAllocatedSize());
            RefuseAfter(2, c.error);
            EXPECT_EQ(c.result, manager.Allocate(5 * kMiB, releaseOnFailure));
            EXPECT_EQ(releaseOnFailure ? 0 : 2 * kMiB, manager.GetAllocatedSize());
        }
    }

    const int blocks = edition::kLimitRunPassesFourGiB ? 4200 : 1000;
    RefuseAfter(blocks, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(AllocResult::OutOfMemory, manager.Allocate(CWndMemory::kLimitRequest, FALSE));
    EXPECT_EQ(blocks * kMiB, manager.GetAllocatedSize());
    manager.Free();
    manager.Free();
    EXPECT_EQ(0u, manager.GetAllocatedSize());
    EXPECT_EQ(g_calls.commits, g_calls.releases);
}

// The panel puts back what it held before a refused request and names the
// refusal: lack of memory, or anything else as an internal error.
TEST(MemoryEngine, PanelRestoresTheEarlierAmountAfterARefusal)
{
    g_calls = Calls();
    const struct { DWORD error; const wchar_t* status; } cases[] = {
        {ERROR_COMMITMENT_LIMIT, L"メモリ確保失敗"}, {ERROR_INVALID_PARAMETER, L"内部エラー"}};
    HostedPanel<CWndMemory> memory(kCounted);
    ASSERT_NE(nullptr, memory.dialog);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.error);
        memory.SetText(IDC_MEMORY_AMOUNT, L"100");
        memory.Press(IDC_MEMORY_ALLOCATE);
        EXPECT_EQ(L"メモリ確保成功", memory.Text(IDC_MEMORY_STATUS));
        RefuseAfter(50, c.error);
        memory.SetText(IDC_MEMORY_AMOUNT, L"200");
        memory.Press(IDC_MEMORY_ALLOCATE);
        EXPECT_EQ(c.status, memory.Text(IDC_MEMORY_STATUS));
        EXPECT_EQ(L"メモリ確保量: 100MB", memory.Text(IDC_MEMORY_HELD));
    }
}

} // namespace
