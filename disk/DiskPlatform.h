#pragma once

#include <windows.h>

// The file-system calls of the disk manager. The program uses the real ones;
// a test replaces single entries to produce what the platform it runs on
// cannot, such as a mapping refused for lack of space on Windows.
struct DiskPlatform
{
    HANDLE(WINAPI* createFile)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    HANDLE(WINAPI* createFileMapping)(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCWSTR);
    // Null where creating the mapping already makes the file system allocate
    // the file's space (Windows). Wine only extends the file sparsely there,
    // and allocates the blocks when the valid data length is set.
    BOOL(WINAPI* setFileValidData)(HANDLE, LONGLONG);
    BOOL(WINAPI* setEndOfFile)(HANDLE);
    BOOL(WINAPI* getFileInformationByHandle)(HANDLE, LPBY_HANDLE_FILE_INFORMATION);
    BOOL(WINAPI* setFileInformationByHandle)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
    BOOL(WINAPI* deleteFile)(LPCWSTR);
    DWORD(WINAPI* getLastError)();
    // The free space of a folder's volume, as GetDiskFreeSpaceExW gives it.
    BOOL(WINAPI* getDiskFreeSpaceEx)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
};

// The calls of the system the program runs on.
const DiskPlatform& RealDiskPlatform();
