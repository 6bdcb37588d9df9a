#pragma once

#include "MemoryManager.h"

#include "framework/DialogImpl.h"
#include "res/resource.h"

// The memory load panel: the user picks an amount in mebibytes and commits
// it, commits as much as the system gives, or releases what is held.
class CWndMemory : public CDialogImpl<CWndMemory, CWindow>
{
public:
    enum { IDD = IDD_MEMORY };

    enum MemoryStatus
    {
        StatusAllocated,
        StatusAllocateFailed,
        StatusFreed,
        StatusInternalError,
    };

    static const SIZE_T kLimitRequest = CMemoryManager::kLimitRequest;

    static const int kSpinLow = 1;
    static const int kSpinHigh = 999999;

    // The field accepts the largest request and no more: 4,095 in the 32-bit
    // edition, where the arrows go further than a request can, and the
    // arrows' own bound in the x64 edition.
    static const SIZE_T kMaxAmount = CMemoryManager::kLargestRequestMb;

    CWndMemory() = default;
    explicit CWndMemory(const MemoryPlatform& platform) : m_manager(platform) {}

    BEGIN_MSG_MAP(CWndMemory)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_MEMORY_ALLOCATE, OnAllocate)
        COMMAND_ID_HANDLER(IDC_MEMORY_FREE, OnFree)
        COMMAND_ID_HANDLER(IDC_MEMORY_ALLOCATE_LIMIT, OnAllocateLimit)
        COMMAND_HANDLER(IDC_MEMORY_AMOUNT, EN_CHANGE, OnAmountChange)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
    END_MSG_MAP()

    virtual LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnAllocate(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    virtual LRESULT OnFree(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    virtual LRESULT OnAllocateLimit(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    virtual LRESULT OnAmountChange(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    // Passed on by the frame when the Windows session ends.
    virtual LRESULT OnEndSession(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

private:
    // The field's text as a signed number, saturated, 0 when not a number.
    LONGLONG ReadAmount() const;
    SIZE_T GetRequestedSize() const;
    int HeldMegabytes() const;

    void UpdateAmountText();
    void UpdateAmountEdit();
    void ShowStatus(MemoryStatus status);

    CMemoryManager m_manager;
};
