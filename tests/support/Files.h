#pragma once

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>

// Real folders, files and small volumes for the disk cases.
namespace support {

// An environment variable holding a host path, in Windows form (drive Z:);
// empty when it is not set.
inline std::wstring HostPathFromEnvironment(const char* variable)
{
    const char* value = std::getenv(variable);
    int length = value != nullptr ? ::MultiByteToWideChar(CP_UTF8, 0, value, -1, nullptr, 0) : 0;
    if (length <= 1)
        return std::wstring();
    std::wstring wide(length - 1, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, value, -1, &wide[0], length);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return L"Z:" + wide;
}

// A new empty folder of its own under the temporary folder, removed with
// everything in it at the end.
class TempFolder
{
public:
    TempFolder()
    {
        static LONG counter = 0;
        WCHAR temp[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, temp);
        m_path = temp + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(::InterlockedIncrement(&counter));
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        std::wstring from = m_path + L'\0';
        SHFILEOPSTRUCTW remove = {nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
        ::SHFileOperationW(&remove);
    }

    const std::wstring& Path() const { return m_path; }
    std::wstring Path(const std::wstring& name) const { return m_path + L"\\" + name; }
    std::wstring Subfolder(const std::wstring& name) const
    {
        ::CreateDirectoryW(Path(name).c_str(), nullptr);
        return Path(name);
    }

private:
    std::wstring m_path;
};

// The size the file system reports, or -1 when there is no such file.
inline LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<LONGLONG>((ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
}

inline bool WriteWholeFile(const std::wstring& path, const std::string& content)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == content.size();
}

// All a file holds, read to its end, since the host's /proc files report no size.
inline std::string ReadWholeFile(const std::wstring& path)
{
    std::string content;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (file != INVALID_HANDLE_VALUE && ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        content.append(buffer, read);
    ::CloseHandle(file);
    return content;
}

// Free bytes of the path's volume, as the caller may use them.
inline ULONGLONG FreeBytes(const std::wstring& path)
{
    ULARGE_INTEGER available = {};
    return ::GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr) ? available.QuadPart : 0;
}

// A volume that the CTest set-up (tools/disk-volumes.sh) mounts, found by its
// size (an ext4 volume keeps a little for itself): the tmpfs folders "full"
// (16 MiB) and "readonly" (1 MiB, read-only: access is denied even to root),
// drive O: (128 MiB, so that a folder's root is the volume's), and the ext4
// folder "large" (6 GiB). Without it the path is empty and `missing` says why.
struct TestVolume { std::wstring path; std::string missing; };

inline TestVolume MountedVolume(const std::wstring& folder, ULONGLONG totalBytes)
{
    TestVolume volume;
    ULARGE_INTEGER total = {};
    std::wstring root = HostPathFromEnvironment("ORTELAN_DISK_VOLUMES");
    std::wstring path = folder == L"O:" ? L"O:\\" : root + L"\\" + folder;
    if (root.empty())
        volume.missing = "ORTELAN_DISK_VOLUMES is not set: the cases on volumes run from CTest, which mounts them";
    else if (!::GetDiskFreeSpaceExW(path.c_str(), nullptr, &total, nullptr) || total.QuadPart > totalBytes ||
             total.QuadPart < totalBytes - totalBytes / 16)
        volume.missing = "no volume of " + std::to_string(totalBytes >> 20) + " MiB: mounting it needs root";
    else
        volume.path = path;
    return volume;
}

} // namespace support
