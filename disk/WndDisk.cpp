#include "WndDisk.h"

#include "DiskTargets.h"
#include "ShellCalls.h"
#include "framework/ComApartment.h"
#include "framework/NumberField.h"
#include "framework/String.h"

#include <commctrl.h>

#include <cwchar>

namespace {

const ULONGLONG kMebibyte = 1048576;

} // namespace

LRESULT CWndDisk::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    UpdateSizeText();
    SetDlgItemText(IDC_DISK_SIZE, L"1");
    SendDlgItemMessage(IDC_DISK_SPIN, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(IDC_DISK_SIZE)));
    SendDlgItemMessage(IDC_DISK_SPIN, UDM_SETRANGE32, 1, kDiskLargestSizeMb);
    return TRUE;
}

LRESULT CWndDisk::OnCreateFile(WORD, WORD, HWND, BOOL&)
{
    ULONGLONG previousBytes = m_manager.GetReservedSize();
    WCHAR folder[kDiskPathLength];
    WCHAR target[kDiskPathLength];
    if (!ReadFolder(folder) || !JoinFileName(folder, target))
        return 0;

    // The range check has left the field showing a number from 0 to the
    // largest size, or nothing, which reads as 0.
    auto megabytes = static_cast<DWORD>(CNumberField(GetDlgItem(IDC_DISK_SIZE)).Value());
    DiskResult result = m_manager.Reserve(target, megabytes * kMebibyte);
    // A failed request never leaves the user with less than before: a file of
    // the earlier size goes back, now at the new place.
    if (result != DiskResult::Ok)
        m_manager.Reserve(target, previousBytes);

    ShowStatus(StatusOfCreation(result));
    UpdateSizeText();
    return 0;
}

LRESULT CWndDisk::OnDeleteFile(WORD, WORD, HWND, BOOL&)
{
    ShowStatus(StatusOfDeletion(m_manager.Release()));
    UpdateSizeText();
    return 0;
}

LRESULT CWndDisk::OnCreateLimit(WORD, WORD, HWND, BOOL&)
{
    WCHAR folder[kDiskPathLength];
    WCHAR target[kDiskPathLength];
    if (!ReadFolder(folder) || !JoinFileName(folder, target))
        return 0;

    ULONGLONG available = 0;
    DiskStatus status = StatusOfCreation(ReserveToLimit(m_manager, folder, target, available));
    // The field shows the free space measured, not the size of the file.
    SetDlgItemInt(IDC_DISK_SIZE, static_cast<UINT>(available >> 20), FALSE);
    ShowStatus(status);
    UpdateSizeText();
    return 0;
}

LRESULT CWndDisk::OnEndSession(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam)
        m_manager.Release();
    return 0;
}

LRESULT CWndDisk::OnBrowse(WORD, WORD, HWND, BOOL&)
{
    // The browser runs in the thread's COM apartment, entered at its first
    // use; should that fail, the browser does not open, which is all the
    // user would see.
    EnterComApartment();
    CString title;
    title.LoadString(IDS_DISK_BROWSE_TITLE);
    WCHAR displayName[MAX_PATH] = L"";
    BROWSEINFOW browse = {};
    browse.hwndOwner = m_hWnd;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;

    PIDLIST_ABSOLUTE item = shell::BrowseForFolder(&browse);
    if (item == nullptr)
        return 0;
    WCHAR path[MAX_PATH] = L"";
    if (shell::GetPathFromIDList(item, path))
        SetDlgItemText(IDC_DISK_FOLDER, path);
    shell::TaskMemFree(item);
    return 0;
}

LRESULT CWndDisk::OnSizeChange(WORD, WORD, HWND, BOOL&)
{
    // Whatever was typed or pasted, the field is left showing the number the
    // next creation uses. An empty field and 0 stand: the up-down's minimum
    // binds only its arrows. Rewriting the text raises this again, and the
    // second run finds it plain.
    CNumberField field(GetDlgItem(IDC_DISK_SIZE));
    if (field.IsEmpty())
        return 0;
    LONGLONG megabytes = field.Value();
    if (megabytes > kDiskLargestSizeMb)
        megabytes = kDiskLargestSizeMb;
    else if (megabytes < 0)
        megabytes = 1;
    field.Show(megabytes);
    return 0;
}

bool CWndDisk::ReadFolder(LPWSTR folder)
{
    GetDlgItemText(IDC_DISK_FOLDER, folder, kDiskPathLength);
    if (shell::IsDirectory(folder))
        return true;
    ShowStatus(DiskStatus::StatusNoFolder);
    return false;
}

bool CWndDisk::JoinFileName(LPCWSTR folder, LPWSTR target)
{
    // PathAppendW empties a result longer than MAX_PATH; creating there
    // would hit some other path, so nothing is done at all.
    wcscpy(target, folder);
    if (shell::AppendToPath(target, kDiskFileName))
        return true;
    ShowStatus(DiskStatus::StatusInternalError);
    return false;
}

void CWndDisk::ShowStatus(DiskStatus status)
{
    CString text;
    UINT id = StringIdOf(status);
    if (id != 0)
        text.LoadString(id);
    SetDlgItemText(IDC_DISK_STATUS, text);
}

void CWndDisk::UpdateSizeText()
{
    CString format;
    if (!format.LoadString(IDS_DISK_SIZE_MB))
        return;
    CString text;
    text.Format(format, static_cast<int>(static_cast<DWORD>(m_manager.GetReservedSize() >> 20)));
    SetDlgItemText(IDC_DISK_SIZE_TEXT, text);
}
