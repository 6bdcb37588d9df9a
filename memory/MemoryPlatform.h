#pragma once

#include <windows.h>

// The system calls through which the memory manager commits, releases and
// measures its blocks. The program always uses the system's own; tests put
// others in to make refusals that the system cannot be made to give at will.
struct MemoryPlatform
{
    LPVOID(WINAPI* virtualAlloc)(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);
    BOOL(WINAPI* virtualFree)(LPVOID address, SIZE_T size, DWORD freeType);
    SIZE_T(WINAPI* virtualQuery)(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T length);
    DWORD(WINAPI* getLastError)();
    BOOL(WINAPI* virtualProtect)(LPVOID address, SIZE_T size, DWORD protect, PDWORD oldProtect);
};

inline MemoryPlatform SystemMemoryPlatform()
{
    return {::VirtualAlloc, ::VirtualFree, ::VirtualQuery, ::GetLastError, ::VirtualProtect};
}
