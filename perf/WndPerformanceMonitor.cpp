#include "WndPerformanceMonitor.h"

#include "CpuSampler.h"
#include "framework/String.h"

namespace {

const UINT_PTR kRefreshTimerId = 1;
const UINT kRefreshIntervalMs = 500;

} // namespace

CWndPerformanceMonitor::CWndPerformanceMonitor()
    : CWndPerformanceMonitor(DefaultSamplerPlatform(), SystemMemoryStatusApi())
{
}

CWndPerformanceMonitor::CWndPerformanceMonitor(CSamplerPlatform& samplerPlatform,
                                               const MemoryStatusApi& memoryStatus)
    : m_refreshInterval(0),
      m_cpuUsage(0),
      m_samplerThread(nullptr),
      m_stopSampler(FALSE),
      m_stopEvent(nullptr),
      m_samplerPlatform(samplerPlatform),
      m_memoryStatus(memoryStatus)
{
}

CWndPerformanceMonitor::~CWndPerformanceMonitor()
{
    // Normally the window's destruction has ended the sampler already; should
    // the object go first, the thread must not go on writing into it.
    StopSampler();
}

LRESULT CWndPerformanceMonitor::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    m_refreshInterval = kRefreshIntervalMs;
    UpdateDisplay();
    SetTimer(kRefreshTimerId, m_refreshInterval);
    StartSampler();
    return TRUE;
}

LRESULT CWndPerformanceMonitor::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    KillTimer(kRefreshTimerId);
    StopSampler();
    return 0;
}

LRESULT CWndPerformanceMonitor::OnEndSession(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam)
        StopSampler();
    return 0;
}

LRESULT CWndPerformanceMonitor::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam == kRefreshTimerId)
        UpdateDisplay();
    return 0;
}

void CWndPerformanceMonitor::UpdateDisplay()
{
    UpdateCpuLine();
    UpdateCommitLine();
}

void CWndPerformanceMonitor::UpdateCpuLine()
{
    CString format;
    if (!format.LoadString(IDS_CPU_USAGE))
        return;
    CString text;
    if (!text.Format(format, static_cast<int>(m_cpuUsage)))
        return;
    SetLineText(IDC_PERF_CPU, text);
}

void CWndPerformanceMonitor::UpdateCommitLine()
{
    CommitFigures figures = ReadCommitFigures(m_memoryStatus);
    CString format;
    if (!format.LoadString(figures.wide ? IDS_COMMIT_CHARGE_64 : IDS_COMMIT_CHARGE_32))
        return;
    CString text;
    BOOL formatted = figures.wide ? text.Format(format, figures.usedMb, figures.limitMb)
                                  : text.Format(format, static_cast<DWORD>(figures.usedMb),
                                                static_cast<DWORD>(figures.limitMb));
    if (formatted)
        SetLineText(IDC_PERF_COMMIT, text);
}

// Most refreshes find a line as it is: setting it again would cost a text
// update and a repaint, the larger part of a refresh, for nothing to see.
void CWndPerformanceMonitor::SetLineText(int id, LPCWSTR text)
{
    WCHAR shown[256] = L"";
    GetDlgItemText(id, shown, 256);
    if (::lstrcmpW(shown, text) != 0)
        SetDlgItemText(id, text);
}

DWORD WINAPI CWndPerformanceMonitor::SamplerThreadProc(LPVOID param)
{
    auto* self = static_cast<CWndPerformanceMonitor*>(param);
    return RunCpuSampler(&self->m_cpuUsage, &self->m_stopSampler, self->m_stopEvent, self->m_samplerPlatform);
}

void CWndPerformanceMonitor::StartSampler()
{
    // Manual reset: once set, it also ends any pause still to come. Without
    // it the sampler still runs, and a stop waits out its pause.
    m_stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_samplerThread = ::CreateThread(nullptr, 0, SamplerThreadProc, this, 0, nullptr);
    if (m_samplerThread == nullptr)
        CloseStopEvent();
}

void CWndPerformanceMonitor::StopSampler()
{
    if (m_samplerThread == nullptr)
        return;
    m_stopSampler = TRUE;
    if (m_stopEvent != nullptr)
        ::SetEvent(m_stopEvent);
    ::WaitForSingleObject(m_samplerThread, INFINITE);
    ::CloseHandle(m_samplerThread);
    m_samplerThread = nullptr;
    CloseStopEvent();
}

void CWndPerformanceMonitor::CloseStopEvent()
{
    if (m_stopEvent != nullptr)
        ::CloseHandle(m_stopEvent);
    m_stopEvent = nullptr;
}
