#include "MemoryStatus.h"

namespace {

// kernel32.dll is loaded in every process, so no reference is taken that
// would have to be released.
GlobalMemoryStatusExProc FindSystemGlobalMemoryStatusEx()
{
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    FARPROC proc = kernel32 != nullptr ? ::GetProcAddress(kernel32, "GlobalMemoryStatusEx") : nullptr;
    // Through a function type without parameters, which converts to any
    // other without a warning about the mismatch.
    return reinterpret_cast<GlobalMemoryStatusExProc>(reinterpret_cast<void (*)()>(proc));
}

const MemoryStatusApi kSystemMemoryStatusApi = {FindSystemGlobalMemoryStatusEx, &::GlobalMemoryStatus};

} // namespace

const MemoryStatusApi& SystemMemoryStatusApi()
{
    return kSystemMemoryStatusApi;
}
