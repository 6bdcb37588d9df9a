#pragma once

#include <windows.h>

#include <string>

// Real folders, files and small volumes for the disk cases.
namespace support {

// An environment variable holding a host path, in Windows form (drive Z:);
// empty when the variable is not set.
std::wstring HostPathFromEnvironment(const char* variable);

// A new empty folder of its own under the temporary folder, removed with
// everything in it at the end.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring Path(const std::wstring& name) const { return m_path + L"\\" + name; }
    // A new folder inside this one.
    std::wstring Subfolder(const std::wstring& name) const;

private:
    std::wstring m_path;
};

bool FileExists(const std::wstring& path);
// The size the file system reports, or -1 when the file cannot be opened.
LONGLONG FileSize(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& content);
std::string ReadWholeFile(const std::wstring& path);
// Free bytes of the volume that holds the path, as the caller may use them.
ULONGLONG FreeBytes(const std::wstring& path);

// A tmpfs that the CTest set-up (tools/disk-volumes.sh) mounts; when it is
// not there, `missing` says why and the path is empty.
struct TestVolume
{
    std::wstring path;
    std::string missing;
};

// 16 MiB: less than a request asks for.
TestVolume SmallVolume();
// 1 MiB, read-only: access denied, even for root.
TestVolume ReadOnlyVolume();
// 128 MiB, drive O: of the test prefix, so that its root is the volume's.
TestVolume PanelVolume();

} // namespace support
