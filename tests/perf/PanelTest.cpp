#include "perf/WndPerformanceMonitor.h"
#include "tests/support/InProcess.h"

#include <gtest/gtest.h>

#include <pdhmsg.h>

#include <atomic>

namespace {

// A counter that always reads 37, with the real pause made five seconds
// long, so that the sampler spends the test in its pause.
class PausingCounter : public CSamplerPlatform
{
public:
    std::atomic<int> pauses{0};
    std::atomic<DWORD> lastPause{WAIT_FAILED};

    PDH_STATUS OpenQuery(PDH_HQUERY* query) override
    {
        *query = reinterpret_cast<PDH_HQUERY>(static_cast<UINT_PTR>(0x1000));
        return ERROR_SUCCESS;
    }
    PDH_STATUS AddCounter(PDH_HQUERY, LPCWSTR, PDH_HCOUNTER* counter) override
    {
        *counter = reinterpret_cast<PDH_HCOUNTER>(static_cast<UINT_PTR>(0x2000));
        return ERROR_SUCCESS;
    }
    PDH_STATUS CollectQueryData(PDH_HQUERY) override { return ERROR_SUCCESS; }
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER, DWORD, PDH_FMT_COUNTERVALUE* value) override
    {
        value->CStatus = PDH_CSTATUS_VALID_DATA;
        value->longValue = 37;
        return ERROR_SUCCESS;
    }
    PDH_STATUS RemoveCounter(PDH_HCOUNTER) override { return ERROR_SUCCESS; }
    PDH_STATUS CloseQuery(PDH_HQUERY) override { return ERROR_SUCCESS; }
    DWORD Wait(HANDLE stopEvent, DWORD) override
    {
        ++pauses;
        lastPause = CSamplerPlatform::Wait(stopEvent, 5000);
        return lastPause;
    }
};

// The refresh timer's ticks are counted against a timer of 1,250 ms set just
// after it: ticking every 500 ms it comes twice before that one. Destroying
// the window then ends the sampler's pause instead of waiting it out.
TEST(PerformancePanel, RefreshesTwiceASecondAndItsStopEndsTheSamplersPause)
{
    PausingCounter counter;
    HostedPanel<CWndPerformanceMonitor> performance(counter, SystemMemoryStatusApi());
    ASSERT_NE(nullptr, performance.dialog);
    UINT_PTR reference = ::SetTimer(nullptr, 0, 1250, nullptr);
    int ticks = 0;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == reference)
            break;
        if (msg.message == WM_TIMER && msg.hwnd == performance.dialog && msg.wParam == 1)
            ++ticks;
        ::DispatchMessageW(&msg);
    }
    ::KillTimer(nullptr, reference);
    EXPECT_EQ(2, ticks);

    ASSERT_EQ(1, counter.pauses);
    ::DestroyWindow(performance.dialog);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), counter.lastPause);
}

} // namespace
