#pragma once

#include "DiskPlatform.h"

#include <windows.h>

// Code units of a path of the disk pressure file, terminator included.
const int kDiskPathLength = 520;

// The outcome of Reserve and Release; the numbers are one numbering for both.
enum class DiskResult
{
    Ok = 0,
    Error = 1,
    DiskFull = 2,
    NothingRecorded = 3,
    DeleteRefused = 4,
    AlreadyExists = 5,
    AccessDenied = 6,
};

// Takes up disk space with one new file of a requested size, created empty
// and sized by a file mapping, so that no byte of it is ever written. It
// records the file it made and deletes it before the next one, on request
// and when it is destroyed. No handle stays open between calls.
class CDiskManager
{
public:
    CDiskManager();
    explicit CDiskManager(const DiskPlatform& platform);
    virtual ~CDiskManager();
    CDiskManager(const CDiskManager&) = delete;
    CDiskManager& operator=(const CDiskManager&) = delete;

    // Deletes the recorded file, then creates a new one at path (never over an
    // existing file) and extends it to bytes. A file that was created stays
    // recorded even when it could not be brought to its size.
    DiskResult Reserve(LPCWSTR path, ULONGLONG bytes);

    // Deletes the recorded file and forgets it, whether or not that worked.
    DiskResult Release();

    // The recorded file's size as the file system reports it now; 0 when
    // nothing is recorded or the file cannot be opened.
    ULONGLONG GetReservedSize() const;

private:
    DiskResult ExtendFile(HANDLE file, ULONGLONG bytes) const;
    BOOL DeleteRecordedFile();

    WCHAR m_szFilePath[kDiskPathLength];
    const DiskPlatform& m_platform;
};
