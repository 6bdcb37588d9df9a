#pragma once

#include <windows.h>

// Functions of Windows DLLs that only a rarely used command needs, looked up
// when first called instead of imported: a DLL that is not imported is
// neither mapped nor initialised at start-up. The DLL is loaded from the
// system folder only, never from the program's folder or the current one,
// and stays loaded for the rest of the process, so that what is found stays
// valid. Both give null when the DLL or the function is not there.
HMODULE LoadSystemLibrary(LPCWSTR dll);
FARPROC FindSystemProc(LPCWSTR dll, LPCSTR name);

// The function as its declared type, for example
//   static const auto pathAppend = SystemProc<decltype(&::PathAppendW)>(L"shlwapi.dll", "PathAppendW");
template <class Proc>
Proc SystemProc(LPCWSTR dll, LPCSTR name)
{
    // Through a function type without parameters, which converts to any
    // other without a warning about the mismatch.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(FindSystemProc(dll, name)));
}
