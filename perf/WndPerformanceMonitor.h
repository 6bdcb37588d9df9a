#pragma once

#include "MemoryStatus.h"
#include "SamplerPlatform.h"
#include "framework/DialogImpl.h"
#include "res/resource.h"

// The performance panel: the system's commit charge against its limit, and
// the machine's CPU usage as measured by a sampler thread that the panel
// owns while its window exists; both lines refreshed every 500 ms, shown or
// hidden.
class CWndPerformanceMonitor : public CDialogImpl<CWndPerformanceMonitor>
{
public:
    enum { IDD = IDD_PERFORMANCE };

    CWndPerformanceMonitor();
    CWndPerformanceMonitor(CSamplerPlatform& samplerPlatform, const MemoryStatusApi& memoryStatus);
    ~CWndPerformanceMonitor() override;
    CWndPerformanceMonitor(const CWndPerformanceMonitor&) = delete;
    CWndPerformanceMonitor& operator=(const CWndPerformanceMonitor&) = delete;

    BEGIN_MSG_MAP(CWndPerformanceMonitor)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
    END_MSG_MAP()

    virtual void UpdateDisplay();
    virtual LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnTimer(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Passed on by the frame when the Windows session ends.
    virtual LRESULT OnEndSession(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

private:
    static DWORD WINAPI SamplerThreadProc(LPVOID param);
    void StartSampler();
    void StopSampler();
    void CloseStopEvent();
    void UpdateCpuLine();
    void UpdateCommitLine();
    void SetLineText(int id, LPCWSTR text);

    UINT m_refreshInterval;
    volatile LONG m_cpuUsage;
    HANDLE m_samplerThread;
    volatile BOOL m_stopSampler;
    // Set with m_stopSampler, so that the sampler's pause ends at once.
    HANDLE m_stopEvent;
    CSamplerPlatform& m_samplerPlatform;
    const MemoryStatusApi& m_memoryStatus;
};
