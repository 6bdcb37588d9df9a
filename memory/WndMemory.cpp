#include "WndMemory.h"

#include "framework/NumberField.h"
#include "framework/String.h"

#include <commctrl.h>

LRESULT CWndMemory::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    UpdateAmountText();
    SetDlgItemText(IDC_MEMORY_AMOUNT, L"1");

    CWindow spin(GetDlgItem(IDC_MEMORY_SPIN));
    spin.SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(IDC_MEMORY_AMOUNT)));
    spin.ShowWindow(SW_SHOW);
    spin.SendMessage(UDM_SETRANGE32, kSpinLow, kSpinHigh);
    return TRUE;
}

LRESULT CWndMemory::OnAllocate(WORD, WORD, HWND, BOOL&)
{
    const SIZE_T held = m_manager.GetAllocatedSize();
    MemoryStatus status = StatusAllocated;
    AllocResult result = m_manager.Allocate(GetRequestedSize(), TRUE);
    if (result != AllocResult::Success)
    {
        // The manager let go of the earlier reservation first; take it back.
        m_manager.Allocate(held, TRUE);
        status = result == AllocResult::OutOfMemory ? StatusAllocateFailed : StatusInternalError;
    }
    ShowStatus(status);
    UpdateAmountText();
    return 0;
}

LRESULT CWndMemory::OnAllocateLimit(WORD, WORD, HWND, BOOL&)
{
    // Going to the limit always ends in a refusal: that refusal is the
    // expected end, so it is reported as done.
    m_manager.Allocate(kLimitRequest, FALSE);
    ShowStatus(StatusAllocated);
    UpdateAmountEdit();
    UpdateAmountText();
    return 0;
}

LRESULT CWndMemory::OnFree(WORD, WORD, HWND, BOOL&)
{
    m_manager.Free();
    ShowStatus(StatusFreed);
    UpdateAmountText();
    return 0;
}

LRESULT CWndMemory::OnEndSession(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam)
        m_manager.Free();
    return 0;
}

LRESULT CWndMemory::OnAmountChange(WORD, WORD, HWND, BOOL&)
{
    // Whatever was typed or pasted, the field is left showing the number the
    // next commit uses. An empty field stands; a negative amount, taken as
    // unsigned, is above the bound too. Rewriting the text raises EN_CHANGE
    // once more, which then finds it plain and stops.
    CNumberField field(GetDlgItem(IDC_MEMORY_AMOUNT));
    if (field.IsEmpty())
        return 0;
    LONGLONG amount = field.Value();
    field.Show(static_cast<ULONGLONG>(amount) <= kMaxAmount ? amount : static_cast<LONGLONG>(kMaxAmount));
    return 0;
}

LONGLONG CWndMemory::ReadAmount() const
{
    return CNumberField(GetDlgItem(IDC_MEMORY_AMOUNT)).Value();
}

SIZE_T CWndMemory::GetRequestedSize() const
{
    return static_cast<SIZE_T>(static_cast<ULONGLONG>(ReadAmount()) * CMemoryManager::kBlockSize);
}

int CWndMemory::HeldMegabytes() const
{
    return static_cast<int>(m_manager.GetAllocatedSize() / CMemoryManager::kBlockSize);
}

void CWndMemory::UpdateAmountText()
{
    CString format;
    format.LoadString(IDS_MEMORY_HELD_MB);
    CString text;
    text.Format(format, HeldMegabytes());
    SetDlgItemText(IDC_MEMORY_HELD, text);
}

void CWndMemory::UpdateAmountEdit()
{
    CString text;
    text.Format(L"%d", HeldMegabytes());
    SetDlgItemText(IDC_MEMORY_AMOUNT, text);
}

void CWndMemory::ShowStatus(MemoryStatus status)
{
    UINT id = IDS_INTERNAL_ERROR;
    switch (status)
    {
    case StatusAllocated:
        id = IDS_MEMORY_ALLOCATED;
        break;
    case StatusAllocateFailed:
        id = IDS_MEMORY_FAILED;
        break;
    case StatusFreed:
        id = IDS_MEMORY_FREED;
        break;
    case StatusInternalError:
        id = IDS_INTERNAL_ERROR;
        break;
    }
    CString text;
    text.LoadString(id);
    SetDlgItemText(IDC_MEMORY_STATUS, text);
}
