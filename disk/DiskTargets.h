#pragma once

#include "DiskManager.h"

#include <windows.h>

// Files sized by the volume rather than by a number: as large as the free
// space allows, or leaving a given amount of it. Both start by deleting the
// file the manager holds, so that its space counts as free, and both make
// the file at path in folder through the manager, which records it.

// The step by which a size the volume refuses is lowered: deliberately one
// byte short of 64 KiB.
const ULONGLONG kDiskLimitStep = 65535;

// Measures the free space (available) and makes the file as large as that,
// lowering the size by kDiskLimitStep while the volume refuses it as full.
// DiskFull when nothing is free, or when no size was accepted.
DiskResult ReserveToLimit(CDiskManager& manager, LPCWSTR folder, LPCWSTR path, ULONGLONG& available);
