#pragma once

#include "DiskManager.h"
#include "DiskStatus.h"
#include "framework/DialogImpl.h"
#include "res/resource.h"

// The disk pressure panel: the user picks a folder and a size in MB and has
// one file "Ortelan.dat" of that size, or as large as the volume allows,
// created there and deleted again. The panel keeps no state of its own: the
// size lives in its field, the folder in the other, the file in the manager.
class CWndDisk : public CDialogImpl<CWndDisk, CWindow>
{
public:
    enum { IDD = IDD_DISK };

    CWndDisk() = default;
    // The file system as the manager sees it, for tests.
    explicit CWndDisk(const DiskPlatform& platform) : m_manager(platform) {}

    BEGIN_MSG_MAP(CWndDisk)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_DISK_CREATE, OnCreateFile)
        COMMAND_ID_HANDLER(IDC_DISK_DELETE, OnDeleteFile)
        COMMAND_ID_HANDLER(IDC_DISK_CREATE_LIMIT, OnCreateLimit)
        COMMAND_ID_HANDLER(IDC_DISK_BROWSE, OnBrowse)
        COMMAND_HANDLER(IDC_DISK_SIZE, EN_CHANGE, OnSizeChange)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
    END_MSG_MAP()

    virtual LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnCreateFile(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    virtual LRESULT OnDeleteFile(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    virtual LRESULT OnCreateLimit(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    virtual LRESULT OnBrowse(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    virtual LRESULT OnSizeChange(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    // Passed on by the frame when the Windows session ends.
    virtual LRESULT OnEndSession(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

private:
    void ShowStatus(DiskStatus status);
    void UpdateSizeText();

    // Both fail with the status already shown.
    bool ReadFolder(LPWSTR folder);
    bool JoinFileName(LPCWSTR folder, LPWSTR target);

    CDiskManager m_manager;
};
