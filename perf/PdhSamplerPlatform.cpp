#include "PdhSamplerPlatform.h"

PdhAddCounterProc FindAddCounter(HMODULE pdh)
{
    FARPROC english = pdh != nullptr ? ::GetProcAddress(pdh, "PdhAddEnglishCounterW") : nullptr;
    if (english == nullptr)
        return &::PdhAddCounterW;
    // Through a function type without parameters, which converts to any
    // other without a warning about the mismatch.
    return reinterpret_cast<PdhAddCounterProc>(reinterpret_cast<void (*)()>(english));
}

CPdhSamplerPlatform::CPdhSamplerPlatform()
    : m_addCounter(FindAddCounter(::GetModuleHandleW(L"pdh.dll")))
{
}

PDH_STATUS CPdhSamplerPlatform::OpenQuery(PDH_HQUERY* query)
{
    return ::PdhOpenQueryW(nullptr, 0, query);
}

PDH_STATUS CPdhSamplerPlatform::AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter)
{
    return m_addCounter(query, path, 0, counter);
}

PDH_STATUS CPdhSamplerPlatform::CollectQueryData(PDH_HQUERY query)
{
    return ::PdhCollectQueryData(query);
}

PDH_STATUS CPdhSamplerPlatform::GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                                         PDH_FMT_COUNTERVALUE* value)
{
    return ::PdhGetFormattedCounterValue(counter, format, nullptr, value);
}

PDH_STATUS CPdhSamplerPlatform::RemoveCounter(PDH_HCOUNTER counter)
{
    return ::PdhRemoveCounter(counter);
}

PDH_STATUS CPdhSamplerPlatform::CloseQuery(PDH_HQUERY query)
{
    return ::PdhCloseQuery(query);
}
