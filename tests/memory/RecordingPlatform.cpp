#include "RecordingPlatform.h"

namespace recording {

namespace {

Record g_record;
DWORD g_lastError = 0;

LPVOID WINAPI RecordingAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protect)
{
    if (g_record.grantsBeforeRefusal > 0)
    {
        --g_record.grantsBeforeRefusal;
    }
    else if (g_record.refusals > 0)
    {
        --g_record.refusals;
        g_lastError = g_record.refusalError;
        return nullptr;
    }

    LPVOID block = ::VirtualAlloc(address, size, type, protect);
    g_lastError = ::GetLastError();
    if (block != nullptr)
    {
        ++g_record.commits;
        g_record.requestedBytes += size;
        g_record.lastSize = size;
    }
    return block;
}

BOOL WINAPI RecordingFree(LPVOID address, SIZE_T size, DWORD type)
{
    ++g_record.releases;
    return ::VirtualFree(address, size, type);
}

DWORD WINAPI RecordedLastError()
{
    return g_lastError;
}

} // namespace

Record& Current()
{
    return g_record;
}

void Reset()
{
    g_record = Record{};
    g_lastError = 0;
}

void RefuseAfter(int grants, int refusals, DWORD error)
{
    g_record.grantsBeforeRefusal = grants;
    g_record.refusals = refusals;
    g_record.refusalError = error;
}

MemoryPlatform Platform()
{
    return {RecordingAlloc, RecordingFree, ::VirtualQuery, RecordedLastError};
}

} // namespace recording
