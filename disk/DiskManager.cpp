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

} // namespace

CDiskManager::CDiskManager() : CDiskManager(RealDiskPlatform())
{
}

CDiskManager::CDiskManager(const DiskPlatform& platform) : m_szFilePath(), m_platform(platform)
{
}

CDiskManager::~CDiskManager()
{
    DeleteRecordedFile();
}

DiskResult CDiskManager::Reserve(LPCWSTR path, ULONGLONG bytes)
{
    // A new reservation always replaces the old one, even at the same path.
    DeleteRecordedFile();

    // A file whose path the record cannot hold would never be deleted again.
    if (path == nullptr || wcsnlen(path, kDiskPathLength) == kDiskPathLength)
        return DiskResult::Error;

    // CREATE_NEW: a file that is already there is never opened or truncated.
    HANDLE file = m_platform.createFile(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ClassifyCreateError(m_platform.getLastError());
    wcscpy(m_szFilePath, path);

    DiskResult result = ExtendFile(file, bytes);
    ::CloseHandle(file);
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
    return DeleteRecordedFile() ? DiskResult::Ok : DiskResult::DeleteRefused;
}

BOOL CDiskManager::DeleteRecordedFile()
{
    if (m_szFilePath[0] == L'\0')
        return FALSE;
    BOOL deleted = m_platform.deleteFile(m_szFilePath);
    // A file that could not be deleted is forgotten, never tried again.
    m_szFilePath[0] = L'\0';
    return deleted;
}

ULONGLONG CDiskManager::GetReservedSize() const
{
    HANDLE file = m_platform.createFile(m_szFilePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD high = 0;
    DWORD low = m_platform.getFileSize(file, &high);
    ULONGLONG size = 0;
    if (low != INVALID_FILE_SIZE || m_platform.getLastError() == NO_ERROR)
        size = (static_cast<ULONGLONG>(high) << 32) | low;
    ::CloseHandle(file);
    return size;
}
