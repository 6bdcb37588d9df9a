#pragma once

#include "DiskPlatform.h"

#include <windows.h>

// Code units of a path of the disk pressure file, terminator included.
const int kDiskPathLength = 520;

// The name of the file, whichever front end makes it.
const WCHAR kDiskFileName[] = L"Ortelan.dat";

// The largest file either front end asks for, in MB: the largest whole
// number of MB not above 10^14 bytes.
const int kDiskLargestSizeMb = 95367431;

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

// The free bytes that the user may still take on the volume that holds
// folder (disk quotas honoured); 0 when they cannot be read.
ULONGLONG VolumeAvailableBytes(const DiskPlatform& platform, LPCWSTR folder);

// How long the file may outlive the process that made it.
enum class DiskFileLifetime
{
    // Until it is released: the manager keeps no handle open between calls,
    // and a process ended by force leaves its file behind.
    UntilReleased,
    // Never: the file is made delete-on-close and its creating handle, the
    // only one, stays open until the release, so that the system deletes the
    // file whenever the process ends, however it ends. Nobody else can open
    // it meanwhile.
    WithProcess,
};

// Takes up disk space with one new file of a requested size, created empty
// and sized by a file mapping, so that no byte of it is ever written. It
// records the file it made and deletes it before the next one, on request
// and when it is destroyed.
//
// A file that lives until it is released can be deleted between calls, and
// another put at its path, so the record holds the file's identity as well
// as its path, and a file whose identity differs is never deleted.
class CDiskManager
{
public:
    explicit CDiskManager(DiskFileLifetime lifetime = DiskFileLifetime::UntilReleased);
    explicit CDiskManager(const DiskPlatform& platform,
                          DiskFileLifetime lifetime = DiskFileLifetime::UntilReleased);
    virtual ~CDiskManager();
    CDiskManager(const CDiskManager&) = delete;
    CDiskManager& operator=(const CDiskManager&) = delete;

    // Deletes the recorded file, then creates a new one at path (never over an
    // existing file) and extends it to bytes. A file that was created stays
    // recorded even when it could not be brought to its size. While the
    // recorded file is there but cannot be deleted, nothing is created: Error.
    DiskResult Reserve(LPCWSTR path, ULONGLONG bytes);

    // Deletes the recorded file. A file that is gone, or is not the one the
    // manager made, is forgotten and left alone; one that is there but cannot
    // be deleted now stays recorded for the next try. Both are DeleteRefused.
    DiskResult Release();

    // The recorded file's size as the file system reports it now; 0 when
    // nothing is recorded, the file cannot be opened or is another file.
    ULONGLONG GetReservedSize() const;

    // VolumeAvailableBytes through the manager's platform.
    ULONGLONG AvailableBytes(LPCWSTR folder) const { return VolumeAvailableBytes(m_platform, folder); }

private:
    enum class Deletion
    {
        Deleted,
        // Nothing recorded any more: the file is gone, or another is there.
        Forgotten,
        // The file is there but cannot be deleted now; it stays recorded.
        Refused,
    };

    DiskResult ExtendFile(HANDLE file, ULONGLONG bytes) const;
    Deletion DeleteRecordedFile();
    bool IsRecordedFile(const BY_HANDLE_FILE_INFORMATION& info) const;
    void Forget() { m_szFilePath[0] = L'\0'; }

    WCHAR m_szFilePath[kDiskPathLength];
    BY_HANDLE_FILE_INFORMATION m_identity;
    const DiskPlatform& m_platform;
    const DiskFileLifetime m_lifetime;
    // The recorded file's creating handle while it lives with the process.
    HANDLE m_file = nullptr;
};
