#pragma once

// Real files and volumes for the disk pressure tests, shared by the
// in-process tests and the end-to-end cases.

#include "tests/support/WinePaths.h"

#include <windows.h>

#include <string>

namespace disktest {

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
        m_path = std::wstring(temp) + L"ortelan-disk-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(::InterlockedIncrement(&counter));
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring Path(const std::wstring& name) const { return m_path + L"\\" + name; }
    std::wstring Subfolder(const std::wstring& name) const
    {
        std::wstring path = Path(name);
        ::CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    static void RemoveTree(const std::wstring& path)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE)
        {
            do
            {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring child = path + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    ::DeleteFileW(child.c_str());
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(path.c_str());
    }

private:
    std::wstring m_path;
};

inline bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Size and allocated bytes of a file, or -1 when it cannot be opened. The
// allocation is what the file system really set aside (st_blocks on Linux):
// a sparse file has a size but next to no allocation.
struct FileFacts
{
    LONGLONG size = -1;
    LONGLONG allocated = -1;
};

inline FileFacts FactsOf(const std::wstring& path)
{
    FileFacts facts;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return facts;
    FILE_STANDARD_INFO info = {};
    if (::GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof(info)))
    {
        facts.size = info.EndOfFile.QuadPart;
        facts.allocated = info.AllocationSize.QuadPart;
    }
    ::CloseHandle(file);
    return facts;
}

inline LONGLONG FileSize(const std::wstring& path)
{
    return FactsOf(path).size;
}

inline bool WriteWholeFile(const std::wstring& path, const std::string& content)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == content.size();
}

inline std::string ReadWholeFile(const std::wstring& path)
{
    std::string content;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return content;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        content.append(buffer, read);
    ::CloseHandle(file);
    return content;
}

// Free bytes of the volume that holds path, as the caller may use them.
inline ULONGLONG FreeBytes(const std::wstring& path)
{
    ULARGE_INTEGER available = {};
    return ::GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr) ? available.QuadPart : 0;
}

// A tmpfs mounted for the tests by the CTest set-up (tools/disk-volumes.sh)
// under the host folder in ORTELAN_DISK_VOLUMES. Its size proves that it is
// the volume the set-up made; when it is not there, `missing` says why.
struct TestVolume
{
    std::wstring path;
    std::string missing;
};

inline TestVolume MountedVolume(const std::wstring& path, ULONGLONG totalBytes)
{
    TestVolume volume;
    ULARGE_INTEGER available = {};
    ULARGE_INTEGER total = {};
    std::string name(path.begin(), path.end());
    if (HostPathFromEnvironment("ORTELAN_DISK_VOLUMES").empty())
        volume.missing = "ORTELAN_DISK_VOLUMES is not set: the cases on volumes run from CTest, which mounts them";
    else if (!::GetDiskFreeSpaceExW(path.c_str(), &available, &total, nullptr) || total.QuadPart != totalBytes)
        volume.missing = "no tmpfs of " + std::to_string(totalBytes >> 20) + " MiB at " + name +
                         ": the test set-up could not mount it (mounting needs root)";
    else
        volume.path = path;
    return volume;
}

// 16 MiB: for a request above the free space.
inline TestVolume SmallVolume()
{
    return MountedVolume(HostPathFromEnvironment("ORTELAN_DISK_VOLUMES") + L"\\full", 16 << 20);
}

// 1 MiB, read-only: access denied, even for root.
inline TestVolume ReadOnlyVolume()
{
    return MountedVolume(HostPathFromEnvironment("ORTELAN_DISK_VOLUMES") + L"\\readonly", 1 << 20);
}

// 128 MiB, drive O: of the test prefix, so that its root is the volume's.
inline TestVolume PanelVolume()
{
    return MountedVolume(L"O:\\", 128 << 20);
}

} // namespace disktest
