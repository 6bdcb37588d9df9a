#pragma once

#include "SamplerPlatform.h"

using PdhAddCounterProc = PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCWSTR, DWORD_PTR, PDH_HCOUNTER*);

// The counter path is given in English, but PdhAddCounterW expects it in the
// system's display language: on a Japanese Windows the English path is not
// found. PdhAddEnglishCounterW takes the English path on any language; it is
// used when the given pdh.dll exports it, PdhAddCounterW otherwise.
PdhAddCounterProc FindAddCounter(HMODULE pdh);

// The system's Performance Data Helper.
class CPdhSamplerPlatform final : public CSamplerPlatform
{
public:
    CPdhSamplerPlatform();

    PDH_STATUS OpenQuery(PDH_HQUERY* query) override;
    PDH_STATUS AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter) override;
    PDH_STATUS CollectQueryData(PDH_HQUERY query) override;
    PDH_STATUS GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                        PDH_FMT_COUNTERVALUE* value) override;
    PDH_STATUS RemoveCounter(PDH_HCOUNTER counter) override;
    PDH_STATUS CloseQuery(PDH_HQUERY query) override;

private:
    PdhAddCounterProc m_addCounter;
};
