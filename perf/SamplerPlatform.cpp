#include "SamplerPlatform.h"

#include "PdhSamplerPlatform.h"
#include "SystemTimesSamplerPlatform.h"
#include "framework/WineDetect.h"

DWORD CSamplerPlatform::Wait(HANDLE stopEvent, DWORD milliseconds)
{
    DWORD result = ::WaitForSingleObject(stopEvent, milliseconds);
    if (result == WAIT_FAILED)
        ::Sleep(milliseconds);
    return result;
}

CSamplerPlatform& DefaultSamplerPlatform()
{
    if (IsRunningOnWine())
    {
        static CSystemTimesSamplerPlatform systemTimes;
        return systemTimes;
    }
    static CPdhSamplerPlatform pdh;
    return pdh;
}
