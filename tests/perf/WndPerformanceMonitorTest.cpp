#include "perf/WndPerformanceMonitor.h"

#include <gtest/gtest.h>

#include <pdhmsg.h>

#include <atomic>
#include <memory>
#include <string>

namespace {

const ULONGLONG kMiB = 1048576;

// A counter that reads a chosen value, in cycles of a few milliseconds or as
// long as a test makes them; it notes the sampler thread, the queries it
// opened and closed, and how its last pause ended.
class SteadyPlatform : public CSamplerPlatform
{
public:
    std::atomic<LONG> value{37};
    std::atomic<DWORD> pauseMs{2};
    std::atomic<int> opened{0};
    std::atomic<int> closed{0};
    std::atomic<int> waits{0};
    std::atomic<DWORD> lastWait{0};
    std::atomic<DWORD> threadId{0};

    PDH_STATUS OpenQuery(PDH_HQUERY* query) override
    {
        threadId = ::GetCurrentThreadId();
        ++opened;
        *query = reinterpret_cast<PDH_HQUERY>(static_cast<UINT_PTR>(0x1000));
        return ERROR_SUCCESS;
    }
    PDH_STATUS AddCounter(PDH_HQUERY, LPCWSTR, PDH_HCOUNTER* counter) override
    {
        *counter = reinterpret_cast<PDH_HCOUNTER>(static_cast<UINT_PTR>(0x2000));
        return ERROR_SUCCESS;
    }
    PDH_STATUS CollectQueryData(PDH_HQUERY) override { return ERROR_SUCCESS; }
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER, DWORD, PDH_FMT_COUNTERVALUE* result) override
    {
        result->CStatus = PDH_CSTATUS_VALID_DATA;
        result->longValue = value;
        return ERROR_SUCCESS;
    }
    PDH_STATUS RemoveCounter(PDH_HCOUNTER) override { return ERROR_SUCCESS; }
    PDH_STATUS CloseQuery(PDH_HQUERY) override
    {
        ++closed;
        return ERROR_SUCCESS;
    }
    DWORD Wait(HANDLE stopEvent, DWORD) override
    {
        ++waits;
        lastWait = CSamplerPlatform::Wait(stopEvent, pauseMs);
        return lastWait;
    }
};

// The memory-status calls as the tests set them up.
MEMORYSTATUSEX g_statusEx;
MEMORYSTATUS g_status;
DWORD g_lengthGivenEx;
DWORD g_lengthGiven;

BOOL WINAPI FakeGlobalMemoryStatusEx(LPMEMORYSTATUSEX status)
{
    g_lengthGivenEx = status->dwLength;
    *status = g_statusEx;
    return TRUE;
}
GlobalMemoryStatusExProc FindFakeEx() { return &FakeGlobalMemoryStatusEx; }
GlobalMemoryStatusExProc FindNoEx() { return nullptr; }

VOID WINAPI FakeGlobalMemoryStatus(LPMEMORYSTATUS status)
{
    g_lengthGiven = status->dwLength;
    *status = g_status;
}

const MemoryStatusApi kWithEx = {FindFakeEx, FakeGlobalMemoryStatus};
const MemoryStatusApi kWithoutEx = {FindNoEx, FakeGlobalMemoryStatus};

void SetStatusEx(ULONGLONG totalPageFile, ULONGLONG availPageFile)
{
    g_statusEx = {};
    g_statusEx.dwLength = sizeof(g_statusEx);
    g_statusEx.ullTotalPageFile = totalPageFile;
    g_statusEx.ullAvailPageFile = availPageFile;
}

void SetStatus(SIZE_T totalPageFile, SIZE_T availPageFile)
{
    g_status = {};
    g_status.dwLength = sizeof(g_status);
    g_status.dwTotalPageFile = totalPageFile;
    g_status.dwAvailPageFile = availPageFile;
}

std::wstring ControlText(HWND dialog, int id)
{
    WCHAR text[256] = L"";
    ::GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

// Handles the thread's messages, timers included, until the condition holds.
template <class Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 3000)
{
    DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool WaitFor(const std::atomic<int>& count, int atLeast)
{
    DWORD start = ::GetTickCount();
    while (count < atLeast)
    {
        if (::GetTickCount() - start > 3000)
            return false;
        ::Sleep(1);
    }
    return true;
}

// The panel on a real dialog from its template, in a top-level window as the
// frame would hold it.
class PerformancePanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetStatusEx(0, 0);
        SetStatus(0, 0);
        host = ::CreateWindowExW(0, L"Static", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, host);
    }
    void TearDown() override { ::DestroyWindow(host); }

    HWND host = nullptr;
    SteadyPlatform sampler;
};

TEST_F(PerformancePanel, ShowsZeroPercentAtOnceThenThePublishedValueAtTheNextTickOfItsTimer)
{
    SetStatusEx(300 * kMiB, 100 * kMiB);
    CWndPerformanceMonitor panel(sampler, kWithEx);
    HWND dialog = panel.Create(host);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"CPU使用率: 0%", ControlText(dialog, IDC_PERF_CPU));
    EXPECT_EQ(L"コミットチャージ: 200MB / 300MB", ControlText(dialog, IDC_PERF_COMMIT));

    // The sampler has published 37 once it opens its second query; no
    // message has been handled since the panel's creation.
    ASSERT_TRUE(WaitFor(sampler.opened, 2));
    SetStatusEx(500 * kMiB, 100 * kMiB);
    EXPECT_EQ(L"CPU使用率: 0%", ControlText(dialog, IDC_PERF_CPU));

    // Another timer changes nothing.
    ::SendMessageW(dialog, WM_TIMER, 2, 0);
    EXPECT_EQ(L"CPU使用率: 0%", ControlText(dialog, IDC_PERF_CPU));
    EXPECT_EQ(L"コミットチャージ: 200MB / 300MB", ControlText(dialog, IDC_PERF_COMMIT));

    EXPECT_TRUE(PumpUntil([&] { return ControlText(dialog, IDC_PERF_CPU) == L"CPU使用率: 37%"; }));
    EXPECT_EQ(L"コミットチャージ: 400MB / 500MB", ControlText(dialog, IDC_PERF_COMMIT));
    ::DestroyWindow(dialog);
}

// Counts the texts set on a control from the moment it is watched.
class TextSetCounter
{
public:
    explicit TextSetCounter(HWND control)
        : m_control(control),
          m_original(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control, GWLP_WNDPROC)))
    {
        ::SetPropW(control, kCounterProperty, this);
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc));
    }
    ~TextSetCounter()
    {
        ::SetWindowLongPtrW(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
        ::RemovePropW(m_control, kCounterProperty);
    }
    TextSetCounter(const TextSetCounter&) = delete;
    TextSetCounter& operator=(const TextSetCounter&) = delete;

    int count = 0;

private:
    static constexpr const wchar_t* kCounterProperty = L"TextSetCounter";

    static LRESULT CALLBACK CountingProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = static_cast<TextSetCounter*>(::GetPropW(hWnd, kCounterProperty));
        if (uMsg == WM_SETTEXT)
            ++self->count;
        return ::CallWindowProcW(self->m_original, hWnd, uMsg, wParam, lParam);
    }

    HWND m_control;
    WNDPROC m_original;
};

TEST_F(PerformancePanel, RefreshSetsOnlyTheLinesThatChange)
{
    sampler.value = 0;
    SetStatusEx(300 * kMiB, 100 * kMiB);
    CWndPerformanceMonitor panel(sampler, kWithEx);
    HWND dialog = panel.Create(host);
    ASSERT_NE(nullptr, dialog);
    TextSetCounter cpu(::GetDlgItem(dialog, IDC_PERF_CPU));
    TextSetCounter commit(::GetDlgItem(dialog, IDC_PERF_COMMIT));

    ::SendMessageW(dialog, WM_TIMER, 1, 0);
    EXPECT_EQ(0, cpu.count);
    EXPECT_EQ(0, commit.count);

    SetStatusEx(300 * kMiB, 50 * kMiB);
    ::SendMessageW(dialog, WM_TIMER, 1, 0);
    EXPECT_EQ(0, cpu.count);
    EXPECT_EQ(1, commit.count);
    EXPECT_EQ(L"コミットチャージ: 250MB / 300MB", ControlText(dialog, IDC_PERF_COMMIT));

    // A line changed from outside is put right at the next refresh.
    ::SetDlgItemTextW(dialog, IDC_PERF_CPU, L"");
    ::SendMessageW(dialog, WM_TIMER, 1, 0);
    EXPECT_EQ(L"CPU使用率: 0%", ControlText(dialog, IDC_PERF_CPU));
    EXPECT_EQ(1, commit.count);
    ::DestroyWindow(dialog);
}

TEST_F(PerformancePanel, HiddenPanelKeepsRefreshing)
{
    CWndPerformanceMonitor panel(sampler, kWithEx);
    HWND dialog = panel.Create(host);
    ASSERT_NE(nullptr, dialog);
    ::ShowWindow(dialog, SW_HIDE);
    SetStatusEx(2048 * kMiB, 1024 * kMiB);
    sampler.value = 88;
    EXPECT_TRUE(PumpUntil([&] {
        return ControlText(dialog, IDC_PERF_CPU) == L"CPU使用率: 88%"
               && ControlText(dialog, IDC_PERF_COMMIT) == L"コミットチャージ: 1024MB / 2048MB";
    }));
    EXPECT_FALSE(::IsWindowVisible(dialog));
    ::DestroyWindow(dialog);
}

TEST_F(PerformancePanel, CommitFiguresAreWholeMebibytesPrintedInFull)
{
    // A commit charge of one byte short of a mebibyte, and a limit above
    // 4,294,967,295 mebibytes.
    const ULONGLONG limitMiB = 0x100000000ULL + 7;
    SetStatusEx(limitMiB * kMiB + kMiB - 1, limitMiB * kMiB);
    CWndPerformanceMonitor panel(sampler, kWithEx);
    HWND dialog = panel.Create(host);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"コミットチャージ: 0MB / 4294967303MB", ControlText(dialog, IDC_PERF_COMMIT));
    EXPECT_EQ(sizeof(MEMORYSTATUSEX), g_lengthGivenEx);

    SetStatusEx(0x7FFFFFFFFFFFFFFFULL, 0x3FFFFFFFFFFFFFFFULL);
    ::SendMessageW(dialog, WM_TIMER, 1, 0);
    EXPECT_EQ(L"コミットチャージ: 4398046511104MB / 8796093022207MB",
              ControlText(dialog, IDC_PERF_COMMIT));
    ::DestroyWindow(dialog);
}

TEST_F(PerformancePanel, WithoutThe64BitCallShowsThe32BitFigures)
{
    SetStatus(0xFFFFFFFF, 0xFFFFFFFF - 3 * kMiB - 5);
    CWndPerformanceMonitor panel(sampler, kWithoutEx);
    HWND dialog = panel.Create(host);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"コミットチャージ: 3MB / 4095MB", ControlText(dialog, IDC_PERF_COMMIT));
    EXPECT_EQ(sizeof(MEMORYSTATUS), g_lengthGiven);
    ::DestroyWindow(dialog);
}

// Whether the panel's window or its object goes first, the sampler has ended
// and closed every query it opened; a stop during the sampler's pause ends
// the pause instead of waiting it out.
TEST_F(PerformancePanel, EndsItsSamplerWithItsWindowOrItsObject)
{
    sampler.pauseMs = 30000;
    for (bool windowFirst : {true, false})
    {
        int waits = sampler.waits;
        auto panel = std::make_unique<CWndPerformanceMonitor>(sampler, kWithEx);
        HWND dialog = panel->Create(host);
        ASSERT_NE(nullptr, dialog);
        ASSERT_TRUE(WaitFor(sampler.waits, waits + 1));
        HANDLE thread = ::OpenThread(SYNCHRONIZE, FALSE, sampler.threadId);
        ASSERT_NE(nullptr, thread);
        EXPECT_NE(::GetCurrentThreadId(), sampler.threadId);

        if (windowFirst)
            ::DestroyWindow(dialog);
        else
            panel.reset();
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 0)) << windowFirst;
        EXPECT_EQ(WAIT_OBJECT_0, sampler.lastWait) << windowFirst;
        ::CloseHandle(thread);
        EXPECT_EQ(sampler.opened.load(), sampler.closed.load());
        ::DestroyWindow(dialog);
    }
}

TEST_F(PerformancePanel, EndsItsSamplerAsTheSessionEnds)
{
    CWndPerformanceMonitor panel(sampler, kWithEx);
    HWND dialog = panel.Create(host);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(WaitFor(sampler.opened, sampler.opened + 2));
    HANDLE thread = ::OpenThread(SYNCHRONIZE, FALSE, sampler.threadId);
    ::SendMessageW(dialog, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 0));
    ::CloseHandle(thread);
    ::DestroyWindow(dialog);
}

} // namespace
