#pragma once

#include <windows.h>

// What the tests expect of the edition they are built for, stated once: the
// two editions differ only in these.
namespace edition {

#ifdef _WIN64
const wchar_t kAboutName[] = L"Ortelan x64";
// The up-down control's own range: a 64-bit request has no 4 GiB bound.
const unsigned kMemoryFieldBound = 999999;
const bool kLimitRunPassesFourGiB = true;
#else
const wchar_t kAboutName[] = L"Ortelan";
// The largest whole number of MiB below 4 GiB, a 32-bit request's bound.
const unsigned kMemoryFieldBound = 4095;
const bool kLimitRunPassesFourGiB = false;
#endif

}  // namespace edition
