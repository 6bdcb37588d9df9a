#pragma once

#include "memory/MemoryPlatform.h"

// The system's own memory calls, counted, with refusals made on demand: after
// grantsBeforeRefusal more commits, the next `refusals` commits are refused
// with refusalError.
namespace recording {

struct Record
{
    int commits;
    int releases;
    ULONGLONG requestedBytes;
    SIZE_T lastSize;

    int grantsBeforeRefusal;
    int refusals;
    DWORD refusalError;
};

Record& Current();
void Reset();
void RefuseAfter(int grants, int refusals, DWORD error);

MemoryPlatform Platform();

} // namespace recording
