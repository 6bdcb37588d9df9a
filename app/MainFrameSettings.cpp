#include "MainFrame.h"
#include "MenuState.h"
#include "WorkArea.h"

#include "settings/SettingsRegistry.h"

#include <limits>

namespace {

// The distance between two edges; it may not fit a signed 32-bit number.
int Extent(LONG from, LONG to)
{
    LONGLONG extent = static_cast<LONGLONG>(to) - from;
    return extent > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(extent);
}

} // namespace

BOOL CMainFrame::LoadSettings()
{
    HKEY key = settings::OpenProductKey();
    if (key == nullptr)
        return FALSE;
    HMENU menu = GetMenu();

    DWORD topMost = 0;
    settings::ReadDword(key, settings::kTopMost, &topMost);
    SetMenuState(menu, ID_OPTION_TOPMOST, topMost != 0 ? MFS_CHECKED : 0);
    ApplyTopMost();

    // A flag that is missing or not a DWORD leaves its panel shown.
    for (auto& panel : m_panels)
    {
        DWORD shown = TRUE;
        settings::ReadDword(key, panel.second.valueName, &shown);
        SetMenuState(menu, panel.second.menuId, shown != 0 ? MFS_CHECKED : 0);
        panel.second.shown = shown != 0 ? TRUE : FALSE;
    }

    DWORD top = 0;
    DWORD left = 0;
    DWORD bottom = 0;
    DWORD right = 0;
    bool complete = settings::ReadDword(key, settings::kWindowTop, &top);
    complete = settings::ReadDword(key, settings::kWindowLeft, &left) && complete;
    complete = settings::ReadDword(key, settings::kWindowBottom, &bottom) && complete;
    complete = settings::ReadDword(key, settings::kWindowRight, &right) && complete;
    RECT rc = {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
               static_cast<LONG>(bottom)};
    // A reversed or empty rectangle is no position: the system's stands.
    if (complete && !::IsRectEmpty(&rc))
    {
        if (!IsIconic())
            ClampRectToWorkArea(&rc);
        SetWindowPos(HWND_TOP, rc.left, rc.top, Extent(rc.left, rc.right), Extent(rc.top, rc.bottom), 0);
    }

    SetMenuState(menu, ID_OPTION_SAVE_SETTINGS, MFS_CHECKED);
    ::EnableMenuItem(menu, ID_OPTION_CLEAR_SETTINGS, MF_BYCOMMAND | MF_ENABLED);
    ::RegCloseKey(key);
    return TRUE;
}

BOOL CMainFrame::SaveSettings()
{
    HKEY key = settings::CreateProductKey();
    if (key == nullptr)
        return FALSE;
    HMENU menu = GetMenu();

    const struct
    {
        LPCWSTR name;
        UINT menuId;
    } flags[] = {
        {settings::kTopMost, ID_OPTION_TOPMOST},
        {settings::kMemoryShown, ID_VIEW_MEMORY},
        {settings::kDiskShown, ID_VIEW_DISK},
        {settings::kPerformanceShown, ID_VIEW_PERFORMANCE},
    };
    for (const auto& flag : flags)
        settings::WriteDword(key, flag.name, IsMenuChecked(menu, flag.menuId) ? 1 : 0);

    settings::WriteDword(key, settings::kWindowTop, static_cast<DWORD>(m_rcWindow.top));
    settings::WriteDword(key, settings::kWindowLeft, static_cast<DWORD>(m_rcWindow.left));
    settings::WriteDword(key, settings::kWindowBottom, static_cast<DWORD>(m_rcWindow.bottom));
    settings::WriteDword(key, settings::kWindowRight, static_cast<DWORD>(m_rcWindow.right));
    ::RegCloseKey(key);
    return TRUE;
}

void CMainFrame::DeleteSettings()
{
    // Item 40026 offers saved settings to clear; it goes grey only once there
    // are none left, not merely because deleting them was tried.
    if (settings::DeleteProductAndEmptyMakerKey() && !settings::ProductKeyExists())
        ::EnableMenuItem(GetMenu(), ID_OPTION_CLEAR_SETTINGS, MF_BYCOMMAND | MF_GRAYED);
}

LRESULT CMainFrame::OnToggleSaveSettings(WORD, WORD wID, HWND, BOOL&)
{
    HMENU menu = GetMenu();
    if (IsMenuChecked(menu, wID))
    {
        // Unticking only warns while there are saved settings to lose.
        HKEY key = settings::OpenProductKey();
        if (key != nullptr)
        {
            ::RegCloseKey(key);
            if (AskUser(IDS_WARN_SETTINGS_CLEARED_AT_EXIT, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
                return 0;
        }
    }
    ToggleMenuCheck(menu, wID);
    return 0;
}

LRESULT CMainFrame::OnClearSettings(WORD, WORD, HWND, BOOL&)
{
    HKEY key = settings::OpenProductKey();
    if (key == nullptr)
        return 0;
    ::RegCloseKey(key);

    // Only an explicit OK acts: a box that could not be shown, or that went
    // with its owner when the frame was closed meanwhile, answers 0.
    if (AskUser(IDS_CONFIRM_CLEAR_SETTINGS, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    DeleteSettings();

    HMENU menu = GetMenu();
    if (IsMenuChecked(menu, ID_OPTION_SAVE_SETTINGS)
        && AskUser(IDS_ASK_UNCHECK_SAVE_SETTINGS, MB_YESNO | MB_ICONQUESTION) == IDYES)
    {
        SetMenuState(menu, ID_OPTION_SAVE_SETTINGS, 0);
    }
    return 0;
}
