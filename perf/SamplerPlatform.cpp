#include "SamplerPlatform.h"

#include "PdhSamplerPlatform.h"
#include "SystemTimesSamplerPlatform.h"
#include "framework/WineDetect.h"

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
