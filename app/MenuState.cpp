#include "MenuState.h"

namespace {

static_assert(sizeof(MENUITEMINFOW) == 48, "the state is exchanged through the 48-byte record");

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
