#pragma once

#include "DiskManager.h"

#include <windows.h>

// What the disk pressure panel's status line reports.
enum class DiskStatus
{
    StatusCreated = 0,
    StatusCreateFailed = 1,
    StatusDeleted = 2,
    StatusNoFolder = 3,
    StatusNotCreated = 4,
    StatusNotFound = 5,
    StatusAccessDenied = 6,
    StatusSameName = 7,
    StatusInternalError = 8,
};

// The status of a creation (by size or up to the limit).
DiskStatus StatusOfCreation(DiskResult result);

// The status of a deletion. Nothing recorded reads "not found", and a refused
// deletion reads "not created": the file the panel made is no longer there.
DiskStatus StatusOfDeletion(DiskResult result);

// The string-table entry of a status; 0 for a value outside the table.
UINT StringIdOf(DiskStatus status);
