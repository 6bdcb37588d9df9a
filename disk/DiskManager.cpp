#include "DiskManager.h"

#include <cwchar>

namespace {

DiskResult ClassifyCreateError(DWORD error)
{
    switch (error)
    {
    case ERROR_ACCESS_DENIED:
        return DiskResult::AccessDenied;
    case ERROR_FILE_EXISTS:
        return DiskResult::AlreadyExists;
    default:
        return DiskResult::Error;
    }
}

DiskResult ClassifySizingError(DWORD error)
{
    return error == ERROR_DISK_FULL ? DiskResult::DiskFull : DiskResult::Error;
}

ULONGLONG FileSize(const BY_HANDLE_FILE_INFORMATION& info)
{
    return (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

} // namespace

CDiskManager::CDiskManager(DiskFileLifetime lifetime) : CDiskManager(RealDiskPlatform(), lifetime)
{
}

CDiskManager::CDiskManager(const DiskPlatform& platform, DiskFileLifetime lifetime)
    : m_szFilePath(), m_identity(), m_platform(platform), m_lifetime(lifetime)
{
}

CDiskManager::~CDiskManager()
{
    DeleteRecordedFile();
}

DiskResult CDiskManager::Reserve(LPCWSTR path, ULONGLONG bytes)
{
    // A new reservation always replaces the old one, even at the same path.
    // The record holds one file: while the old one cannot go, no new one is
    // made beside it, or the manager would lose track of it.
    if (DeleteRecordedFile() == Deletion::Refused)
        return DiskResult::Error;

    // A file whose path the record cannot hold would never be deleted again.
    if (path == nullptr || wcsnlen(path, kDiskPathLength) == kDiskPathLength)
        return DiskResult::Error;

    // CREATE_NEW: a file that is already there is never opened or truncated.
    // Delete-on-close from its first moment, a file that goes with the
    // process is never there without its handle.
    const bool withProcess = m_lifetime == DiskFileLifetime::WithProcess;
    HANDLE file = m_platform.createFile(path, GENERIC_READ | GENERIC_WRITE | (withProcess ? DELETE : 0), 0, nullptr,
                                        CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | (withProcess ? FILE_FLAG_DELETE_ON_CLOSE : 0),
                                        nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ClassifyCreateError(m_platform.getLastError());

    DiskResult result = ExtendFile(file, bytes);
    if (withProcess)
    {
        // Its own handle tells it from any other; closing it deletes it.
        wcscpy(m_szFilePath, path);
        m_file = file;
        return result;
    }
    // Read after the sizing, the last change the manager makes: Wine reports
    // the time of a file's last write as its creation time.
    BY_HANDLE_FILE_INFORMATION identity = {};
    BOOL identified = m_platform.getFileInformationByHandle(file, &identity);
    ::CloseHandle(file);
    if (!identified)
    {
        // A file that could not be told from another later must not stay.
        // Opened without sharing, it was this one until the handle closed.
        m_platform.deleteFile(path);
        return DiskResult::Error;
    }
    wcscpy(m_szFilePath, path);
    m_identity = identity;
    return result;
}

DiskResult CDiskManager::ExtendFile(HANDLE file, ULONGLONG bytes) const
{
    // The mapping object alone makes the file system extend the file; no view
    // is mapped and nothing is written. A size of 0 is refused here.
    HANDLE mapping = m_platform.createFileMapping(file, nullptr, PAGE_READWRITE, static_cast<DWORD>(bytes >> 32),
                                                  static_cast<DWORD>(bytes), nullptr);
    if (mapping == nullptr)
        return ClassifySizingError(m_platform.getLastError());
    ::CloseHandle(mapping);

    if (m_platform.setFileValidData == nullptr)
        return DiskResult::Ok;
    if (m_platform.setFileValidData(file, static_cast<LONGLONG>(bytes)))
        return DiskResult::Ok;
    DiskResult result = ClassifySizingError(m_platform.getLastError());
    // Left as it is, the file would keep its sparse size; empty it, as a
    // refused mapping leaves it.
    m_platform.setEndOfFile(file);
    return result;
}

DiskResult CDiskManager::Release()
{
    if (m_szFilePath[0] == L'\0')
        return DiskResult::NothingRecorded;
    return DeleteRecordedFile() == Deletion::Deleted ? DiskResult::Ok : DiskResult::DeleteRefused;
}

CDiskManager::Deletion CDiskManager::DeleteRecordedFile()
{
    if (m_szFilePath[0] == L'\0')
        return Deletion::Forgotten;
    if (m_file != nullptr)
    {
        ::CloseHandle(m_file);
        m_file = nullptr;
        Forget();
        return Deletion::Deleted;
    }
    // The file is checked and deleted through one handle, so that nothing can
    // take its path between the two.
    HANDLE file = m_platform.createFile(m_szFilePath, DELETE | FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        // Held open by a program that does not share deletion, or protected:
        // the file is still there, and still to be deleted later.
        DWORD error = m_platform.getLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED)
            return Deletion::Refused;
        Forget();
        return Deletion::Forgotten;
    }

    Deletion outcome = Deletion::Refused;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (m_platform.getFileInformationByHandle(file, &info))
    {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        if (!IsRecordedFile(info))
            outcome = Deletion::Forgotten;
        else if (m_platform.setFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)))
            outcome = Deletion::Deleted;
    }
    ::CloseHandle(file);
    if (outcome != Deletion::Refused)
        Forget();
    return outcome;
}

bool CDiskManager::IsRecordedFile(const BY_HANDLE_FILE_INFORMATION& info) const
{
    // A new file may get the index of a deleted one at once (Linux reuses
    // inodes); it cannot get its creation time as well.
    return info.dwVolumeSerialNumber == m_identity.dwVolumeSerialNumber &&
           info.nFileIndexHigh == m_identity.nFileIndexHigh && info.nFileIndexLow == m_identity.nFileIndexLow &&
           info.ftCreationTime.dwHighDateTime == m_identity.ftCreationTime.dwHighDateTime &&
           info.ftCreationTime.dwLowDateTime == m_identity.ftCreationTime.dwLowDateTime;
}

ULONGLONG CDiskManager::GetReservedSize() const
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (m_file != nullptr)
        return m_platform.getFileInformationByHandle(m_file, &info) ? FileSize(info) : 0;
    HANDLE file = m_platform.createFile(m_szFilePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    ULONGLONG size = 0;
    if (m_platform.getFileInformationByHandle(file, &info) && IsRecordedFile(info))
        size = FileSize(info);
    ::CloseHandle(file);
    return size;
}

ULONGLONG VolumeAvailableBytes(const DiskPlatform& platform, LPCWSTR folder)
{
    // The folder itself, not its drive's root: a volume may be mounted into
    // a folder of another. A share is measured only with the backslash.
    WCHAR directory[kDiskPathLength];
    size_t length = folder != nullptr ? wcsnlen(folder, kDiskPathLength) : kDiskPathLength;
    if (length == 0 || length + 2 > kDiskPathLength)
        return 0;
    wcscpy(directory, folder);
    if (directory[length - 1] != L'\\')
        wcscpy(directory + length, L"\\");
    ULARGE_INTEGER available = {};
    if (!platform.getDiskFreeSpaceEx(directory, &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}
