#include "MenuState.h"

namespace {

// The record of Windows 2000 and later: 48 bytes in the 32-bit edition, 80
// in the x64 one.
static_assert(sizeof(MENUITEMINFOW) == (sizeof(void*) == 4 ? 48 : 80),
              "the state is exchanged through the full-size record");

bool ReadState(HMENU menu, UINT commandId, UINT& state)
{
    if (menu == nullptr)
        return false;
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (!::GetMenuItemInfoW(menu, commandId, FALSE, &info))
        return false;
    state = info.fState;
    return true;
}

} // namespace

BOOL IsMenuChecked(HMENU menu, UINT commandId)
{
    UINT state = 0;
    return ReadState(menu, commandId, state) && state == MFS_CHECKED ? TRUE : FALSE;
}

void ToggleMenuCheck(HMENU menu, UINT commandId)
{
    UINT state = 0;
    if (!ReadState(menu, commandId, state))
        return;
    if (state == MFS_CHECKED)
        state = 0;
    else if (state == 0)
        state = MFS_CHECKED;
    SetMenuState(menu, commandId, state);
}

BOOL SetMenuState(HMENU menu, UINT commandId, UINT state)
{
    if (menu == nullptr)
        return FALSE;
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = state;
    return ::SetMenuItemInfoW(menu, commandId, FALSE, &info);
}
