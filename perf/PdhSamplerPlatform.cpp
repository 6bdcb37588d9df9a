#include "PdhSamplerPlatform.h"

#include "framework/SystemLibrary.h"

#include <pdhmsg.h>

namespace {

template <class Proc>
Proc Find(HMODULE pdh, LPCSTR name)
{
    FARPROC proc = pdh != nullptr ? ::GetProcAddress(pdh, name) : nullptr;
    // Through a function type without parameters, which converts to any
    // other without a warning about the mismatch.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc));
}

struct PdhCalls
{
    decltype(&::PdhOpenQueryW) openQuery;
    PdhAddCounterProc addCounter;
    decltype(&::PdhCollectQueryData) collectQueryData;
    decltype(&::PdhGetFormattedCounterValue) getFormattedCounterValue;
    decltype(&::PdhRemoveCounter) removeCounter;
    decltype(&::PdhCloseQuery) closeQuery;
};

const PdhCalls& Pdh()
{
    static const PdhCalls calls = [] {
        HMODULE pdh = LoadSystemLibrary(L"pdh.dll");
        return PdhCalls{Find<decltype(&::PdhOpenQueryW)>(pdh, "PdhOpenQueryW"),
                        FindAddCounter(pdh),
                        Find<decltype(&::PdhCollectQueryData)>(pdh, "PdhCollectQueryData"),
                        Find<decltype(&::PdhGetFormattedCounterValue)>(pdh, "PdhGetFormattedCounterValue"),
                        Find<decltype(&::PdhRemoveCounter)>(pdh, "PdhRemoveCounter"),
                        Find<decltype(&::PdhCloseQuery)>(pdh, "PdhCloseQuery")};
    }();
    return calls;
}

template <class Proc, class... Args>
PDH_STATUS Call(Proc proc, Args... args)
{
    return proc != nullptr ? proc(args...) : PDH_NOT_IMPLEMENTED;
}

} // namespace

PdhAddCounterProc FindAddCounter(HMODULE pdh)
{
    auto english = Find<PdhAddCounterProc>(pdh, "PdhAddEnglishCounterW");
    return english != nullptr ? english : Find<PdhAddCounterProc>(pdh, "PdhAddCounterW");
}

PDH_STATUS CPdhSamplerPlatform::OpenQuery(PDH_HQUERY* query)
{
    return Call(Pdh().openQuery, nullptr, 0, query);
}

PDH_STATUS CPdhSamplerPlatform::AddCounter(PDH_HQUERY query, LPCWSTR path, PDH_HCOUNTER* counter)
{
    return Call(Pdh().addCounter, query, path, 0, counter);
}

PDH_STATUS CPdhSamplerPlatform::CollectQueryData(PDH_HQUERY query)
{
    return Call(Pdh().collectQueryData, query);
}

PDH_STATUS CPdhSamplerPlatform::GetFormattedCounterValue(PDH_HCOUNTER counter, DWORD format,
                                                         PDH_FMT_COUNTERVALUE* value)
{
    return Call(Pdh().getFormattedCounterValue, counter, format, nullptr, value);
}

PDH_STATUS CPdhSamplerPlatform::RemoveCounter(PDH_HCOUNTER counter)
{
    return Call(Pdh().removeCounter, counter);
}

PDH_STATUS CPdhSamplerPlatform::CloseQuery(PDH_HQUERY query)
{
    return Call(Pdh().closeQuery, query);
}
