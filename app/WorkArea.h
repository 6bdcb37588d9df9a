#pragma once

#include <windows.h>

// Moves the screen rectangle, keeping its size, into the work area of the
// monitor nearest to it. The right and bottom corrections come last, so a
// rectangle larger than the work area ends on its right and bottom edges.
// FALSE only for a null rectangle.
BOOL ClampRectToWorkArea(RECT* rect);
