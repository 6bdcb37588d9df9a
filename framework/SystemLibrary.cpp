#include "SystemLibrary.h"

#include <string>

HMODULE LoadSystemLibrary(LPCWSTR dll)
{
    WCHAR folder[MAX_PATH] = L"";
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::wstring path = std::wstring(folder, length) + L"\\" + dll;
    return ::LoadLibraryW(path.c_str());
}

FARPROC FindSystemProc(LPCWSTR dll, LPCSTR name)
{
    HMODULE module = LoadSystemLibrary(dll);
    return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
}
