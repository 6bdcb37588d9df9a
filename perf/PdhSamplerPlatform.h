#pragma once

#include "SamplerPlatform.h"

using PdhAddCounterProc = PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCWSTR, DWORD_PTR, PDH_HCOUNTER*);

// The counter path is given in English, but PdhAddCounterW expects it in the
// system's display language: on a Japanese Windows the English path is not
// found. PdhAddEnglishCounterW takes the English path on any language; it is
// used when the given pdh.dll exports it, PdhAddCounterW otherwise; null when
// the module has neither.
PdhAddCounterProc FindAddCounter(HMODULE pdh);

// The system's Performance Data Helper. pdh.dll is loaded by the first call,
// on the thread that samples, so that it costs the program's start and its
// user-interface thread nothing. Where it cannot be loaded, every call fails
// with PDH_NOT_IMPLEMENTED.
class CPdhSamplerPlatform final : public CSamplerPlatform
{
public:
    PDH_STATUS OpenQuery(PDH_HQUERY* query) override;
    PDH_STATUS AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter) override;
    PDH_STATUS CollectQueryData(PDH_HQUERY query) override;
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                        PDH_FMT_COUNTERVALUE* value) override;
    PDH_STATUS RemoveCounter(PDH_HCOUNTER counter) override;
    PDH_STATUS CloseQuery(PDH_HQUERY query) override;
};
