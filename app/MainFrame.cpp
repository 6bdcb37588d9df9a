#include "MainFrame.h"

#include "MenuState.h"
#include "WorkArea.h"
#include "settings/SettingsRegistry.h"

#include <cwchar>
#include <vector>

CMainFrame::CMainFrame() : m_rcWindow()
{
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND memory = m_memory.Create(m_hWnd);
    HWND disk = m_disk.Create(m_hWnd);
    HWND performance = m_performance.Create(m_hWnd);

    AddPanel(memory, 0, ID_VIEW_MEMORY, settings::kMemoryShown);
    AddPanel(disk, 1, ID_VIEW_DISK, settings::kDiskShown);
    AddPanel(performance, 2, ID_VIEW_PERFORMANCE, settings::kPerformanceShown);

    LoadSettings();
    LayoutPanels();
    KeepOnScreen();

    if (CMessageLoop* loop = g_module.GetMessageLoop())
        loop->AddMessageFilter(this);
    return 0;
}

void CMainFrame::AddPanel(HWND panel, int order, UINT menuId, LPCWSTR valueName)
{
    // A panel whose window could not be made is left out, so that nothing
    // ever moves, shows or reads a window that does not exist.
    if (panel == nullptr)
        return;
    PanelEntry entry = {};
    entry.order = order;
    entry.menuId = menuId;
    entry.shown = TRUE;
    wcsncpy(entry.valueName, valueName, _countof(entry.valueName) - 1);
    m_panels.emplace(panel, entry);
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    ::PostQuitMessage(0);
    return 0;
}

LRESULT CMainFrame::OnMove(UINT, WPARAM, LPARAM, BOOL&)
{
    if (!IsIconic())
        GetWindowRect(&m_rcWindow);
    return 0;
}

LRESULT CMainFrame::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    StoreOrDeleteSettings();
    // The default procedure destroys the window; a close is never refused.
    bHandled = FALSE;
    return 0;
}

void CMainFrame::StoreOrDeleteSettings()
{
    if (IsMenuChecked(GetMenu(), ID_OPTION_SAVE_SETTINGS))
        SaveSettings();
    else
        DeleteSettings();
}

LRESULT CMainFrame::OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&)
{
    // Nothing held here is worth keeping the session for.
    return TRUE;
}

LRESULT CMainFrame::OnEndSession(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (!wParam)
        return 0;
    // Once this returns the system may end the process at any moment, before
    // the message loop ends and the panels' engines are destroyed; so all that
    // a close and the end of the program would do is done here and now.
    StoreOrDeleteSettings();
    for (const auto& panel : m_panels)
        ::SendMessageW(panel.first, uMsg, wParam, lParam);
    DestroyWindow();
    return 0;
}

LRESULT CMainFrame::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    // Lets the layout shrink the frame to its caption and menu when no panel
    // is shown.
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = 0;
    info->ptMinTrackSize.y = 0;
    return 0;
}

LRESULT CMainFrame::OnTogglePanel(WORD, WORD wID, HWND, BOOL&)
{
    for (auto& panel : m_panels)
    {
        if (panel.second.menuId != wID)
            continue;
        HMENU menu = GetMenu();
        ToggleMenuCheck(menu, wID);
        panel.second.shown = IsMenuChecked(menu, wID);
        LayoutPanels();
        break;
    }
    return 0;
}

void CMainFrame::LayoutPanels()
{
    // Insertion by order; equal orders keep the registry's order.
    std::vector<std::pair<HWND, const PanelEntry*>> stack;
    for (const auto& panel : m_panels)
    {
        auto at = stack.begin();
        while (at != stack.end() && at->second->order <= panel.second.order)
            ++at;
        stack.insert(at, {panel.first, &panel.second});
    }

    int y = 0;
    int widest = 0;
    int narrowest = 0x7FFFFFFF;
    for (const auto& item : stack)
    {
        RECT rc = {};
        if (!::GetWindowRect(item.first, &rc))
            rc = RECT();
        int width = rc.right - rc.left;
        int height = rc.bottom - rc.top;
        if (item.second->shown)
        {
            ::SetWindowPos(item.first, nullptr, 0, y, width, height, 0);
            if (width >= widest)
                widest = width;
            y += height;
        }
        ::ShowWindow(item.first, item.second->shown ? SW_SHOW : SW_HIDE);
        if (width <= narrowest)
            narrowest = width;
    }
    // With no panel at all there is no narrowest width to fall back on.
    if (!stack.empty() && widest < narrowest)
        widest = narrowest;

    RECT frame;
    ::SetRect(&frame, 0, 0, widest, y);
    ::AdjustWindowRectEx(&frame, GetStyle(), TRUE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE);
    GetWindowRect(&m_rcWindow);
}

void CMainFrame::KeepOnScreen()
{
    // Only the layout gives the frame its real size. A restored rectangle of
    // another width or height can leave the resized frame partly or wholly
    // off the screen even though the rectangle itself was moved onto it.
    if (IsIconic())
        return;
    RECT frame = {};
    GetWindowRect(&frame);
    RECT onScreen = frame;
    ClampRectToWorkArea(&onScreen);
    if (::EqualRect(&frame, &onScreen))
        return;
    SetWindowPos(nullptr, onScreen.left, onScreen.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(&m_rcWindow);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    if (::IsDialogMessageW(m_memory.m_hWnd, pMsg))
        return TRUE;
    if (::IsDialogMessageW(m_disk.m_hWnd, pMsg))
        return TRUE;
    return FALSE;
}
