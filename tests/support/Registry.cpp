#include "Registry.h"

namespace support {

bool KeyExists(LPCWSTR path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void CreateKey(LPCWSTR path)
{
    HKEY key = nullptr;
    if (::RegCreateKeyW(HKEY_CURRENT_USER, path, &key) == ERROR_SUCCESS)
        ::RegCloseKey(key);
}

void RemoveAllSettings()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kMakerKey);
}

void WriteValue(LPCWSTR name, DWORD type, const void* data, DWORD size)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kProductKey, name, type, data, size);
}

void WriteDword(LPCWSTR name, DWORD value)
{
    WriteValue(name, REG_DWORD, &value, sizeof(value));
}

bool ReadDword(LPCWSTR name, DWORD* value)
{
    DWORD type = 0;
    DWORD size = sizeof(*value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kProductKey, name, RRF_RT_ANY, &type, value, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof(*value);
}

DWORD ValueCount()
{
    HKEY key = nullptr;
    DWORD count = 0;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr);
    ::RegCloseKey(key);
    return count;
}

void WriteAll(DWORD topMost, DWORD memory, DWORD disk, DWORD performance, const RECT& window)
{
    WriteDword(L"Menu_TopMost", topMost);
    WriteDword(L"Menu_Memory", memory);
    WriteDword(L"Menu_Disk", disk);
    WriteDword(L"Menu_Performance", performance);
    WriteDword(L"Window_Top", static_cast<DWORD>(window.top));
    WriteDword(L"Window_Left", static_cast<DWORD>(window.left));
    WriteDword(L"Window_Bottom", static_cast<DWORD>(window.bottom));
    WriteDword(L"Window_Right", static_cast<DWORD>(window.right));
}

} // namespace support
