#include "Files.h"

#include <algorithm>
#include <cstdlib>

namespace support {

namespace {

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::wstring name = found.cFileName;
            std::wstring child = path + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

// The volume's total size proves that it is the one the set-up mounted.
TestVolume MountedVolume(const std::wstring& path, ULONGLONG totalBytes)
{
    TestVolume volume;
    ULARGE_INTEGER total = {};
    if (HostPathFromEnvironment("ORTELAN_DISK_VOLUMES").empty())
        volume.missing = "ORTELAN_DISK_VOLUMES is not set: the cases on volumes run from CTest, which mounts them";
    else if (!::GetDiskFreeSpaceExW(path.c_str(), nullptr, &total, nullptr) || total.QuadPart != totalBytes)
        volume.missing = "no tmpfs of " + std::to_string(totalBytes >> 20) +
                         " MiB: the test set-up could not mount it (mounting needs root)";
    else
        volume.path = path;
    return volume;
}

} // namespace

std::wstring HostPathFromEnvironment(const char* variable)
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

TempFolder::TempFolder()
{
    static LONG counter = 0;
    WCHAR temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"ortelan-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(::InterlockedIncrement(&counter));
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

std::wstring TempFolder::Subfolder(const std::wstring& name) const
{
    std::wstring path = Path(name);
    ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool WriteWholeFile(const std::wstring& path, const std::string& content)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == content.size();
}

std::string ReadWholeFile(const std::wstring& path)
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

ULONGLONG FreeBytes(const std::wstring& path)
{
    ULARGE_INTEGER available = {};
    return ::GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr) ? available.QuadPart : 0;
}

TestVolume SmallVolume()
{
    return MountedVolume(HostPathFromEnvironment("ORTELAN_DISK_VOLUMES") + L"\\full", 16 << 20);
}

TestVolume ReadOnlyVolume()
{
    return MountedVolume(HostPathFromEnvironment("ORTELAN_DISK_VOLUMES") + L"\\readonly", 1 << 20);
}

TestVolume PanelVolume()
{
    return MountedVolume(L"O:\\", 128 << 20);
}

} // namespace support
