#pragma once

#include <windows.h>

// Menu items addressed by command identifier; only the state word is read or
// written.

// TRUE only when the item's state is exactly "checked" (no greyed, highlighted
// or default bit beside it).
BOOL IsMenuChecked(HMENU menu, UINT commandId);

// Checked becomes unchecked and unchecked becomes checked; any other state is
// left as it is.
void ToggleMenuCheck(HMENU menu, UINT commandId);

// Writes the whole state word: MFS_CHECKED to tick, 0 to untick and enable.
BOOL SetMenuState(HMENU menu, UINT commandId, UINT state);
