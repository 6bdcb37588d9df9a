#pragma once

#include "disk/WndDisk.h"
#include "framework/MessageLoop.h"
#include "framework/WindowImpl.h"
#include "memory/WndMemory.h"
#include "perf/WndPerformanceMonitor.h"
#include "res/resource.h"

#include <map>

// A panel's place in the frame's stack and the menu item that shows it.
struct PanelEntry
{
    int order;
    UINT menuId;
    BOOL shown;
    WCHAR valueName[256];
};

// Panel windows are ordered by their handle values taken as unsigned numbers.
struct PanelHandleLess
{
    bool operator()(HWND a, HWND b) const
    {
        return reinterpret_cast<UINT_PTR>(a) < reinterpret_cast<UINT_PTR>(b);
    }
};

// The program's only top-level window: it stacks the shown panels without
// gaps, sizes itself to them and carries the menu.
class CMainFrame : public CFrameWindowImpl<CMainFrame>, public CMessageFilter
{
public:
    DECLARE_FRAME_WND_CLASS(L"OT_MainFrame", IDR_MAINFRAME)

    // The frame's own window style: caption, system menu and minimise box,
    // no sizing border; and its extended style.
    static const DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    static const DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    static_assert(kStyle == 0x02CA0000 && kExStyle == 0x00040100, "frame styles");

    CMainFrame();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    BEGIN_MSG_MAP(CMainFrame)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_MOVE, OnMove)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_QUERYENDSESSION, OnQueryEndSession)
        MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
        MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAbout)
        COMMAND_ID_HANDLER(ID_APP_EXIT, OnExit)
        COMMAND_ID_HANDLER(ID_OPTION_TOPMOST, OnTopMost)
        COMMAND_ID_HANDLER(ID_OPTION_NEW_PROCESS, OnNewProcess)
        COMMAND_RANGE_HANDLER(ID_VIEW_MEMORY, ID_VIEW_PERFORMANCE, OnTogglePanel)
        COMMAND_ID_HANDLER(ID_OPTION_SAVE_SETTINGS, OnToggleSaveSettings)
        COMMAND_ID_HANDLER(ID_OPTION_CLEAR_SETTINGS, OnClearSettings)
    END_MSG_MAP()

    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnQueryEndSession(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnEndSession(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnAbout(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnExit(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnTopMost(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnNewProcess(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnTogglePanel(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnToggleSaveSettings(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnClearSettings(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);

    // Stacks the shown panels from the top in their order and sizes the
    // frame to them, keeping its top-left corner.
    void LayoutPanels();

    // The saved settings: restored at creation, written or deleted at close.
    BOOL LoadSettings();
    BOOL SaveSettings();
    void DeleteSettings();

    CWndMemory m_memory;
    CWndDisk m_disk;
    CWndPerformanceMonitor m_performance;
    std::map<HWND, PanelEntry, PanelHandleLess> m_panels;
    RECT m_rcWindow;

private:
    void AddPanel(HWND panel, int order, UINT menuId, LPCWSTR valueName);

    // Moves the frame, keeping its size, into the work area of its monitor.
    void KeepOnScreen();

    // What every end of the program does with the settings: writes them when
    // item 40025 is ticked, deletes them when it is not.
    void StoreOrDeleteSettings();

    // Puts the frame in or out of the top-most band as item 40010's tick says.
    void ApplyTopMost();

    int AskUser(UINT textId, UINT type);
};
