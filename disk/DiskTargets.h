#pragma once

#include "DiskManager.h"

#include <windows.h>

// Files sized by the volume rather than by a number: as large as the free
// space allows, or leaving a given amount of it. Both start by deleting the
// file the manager holds, so that its space counts as free, and both make
// the file at path in folder through the manager, which records it.

// The step by which a size the volume refuses is lowered: deliberately one
// byte short of 64 KiB. It is also how close to its target a free space
// left by ReserveLeaving is.
const ULONGLONG kDiskLimitStep = 65535;

// Measures the free space (available) and makes the file as large as that,
// lowering the size by kDiskLimitStep while the volume refuses it as full.
// DiskFull when nothing is free, or when no size was accepted.
DiskResult ReserveToLimit(CDiskManager& manager, LPCWSTR folder, LPCWSTR path, ULONGLONG& available);

// Makes the file so large that leave bytes of the free space are left, then
// measures again and corrects the size, so that what is left ends within
// kDiskLimitStep of leave, and not below it where the volume allows. DiskFull
// when no more than leave is free (no file is then held); Error when the
// free space keeps moving, as when another program writes meanwhile.
DiskResult ReserveLeaving(CDiskManager& manager, LPCWSTR folder, LPCWSTR path, ULONGLONG leave);
