#include "ComApartment.h"

#include "SystemLibrary.h"

#include <objbase.h>

namespace {

bool g_tried = false;
bool g_entered = false;

} // namespace

bool EnterComApartment()
{
    if (!g_tried)
    {
        g_tried = true;
        auto coInitialize = SystemProc<decltype(&::CoInitialize)>(L"ole32.dll", "CoInitialize");
        // S_FALSE: the thread was in the apartment already; it is left all
        // the same, once for each time it was entered.
        g_entered = coInitialize != nullptr && SUCCEEDED(coInitialize(nullptr));
    }
    return g_entered;
}

void LeaveComApartment()
{
    if (!g_entered)
        return;
    auto coUninitialize = SystemProc<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    if (coUninitialize != nullptr)
        coUninitialize();
    g_entered = false;
}
