#include "SettingsKeys.h"

#include <cwchar>

namespace testing_registry {

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

void DeleteTree(LPCWSTR path)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

void RemoveAllSettings()
{
    DeleteTree(kMakerKey);
}

namespace {

HKEY CreateProduct()
{
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                      nullptr);
    return key;
}

} // namespace

void WriteDword(LPCWSTR name, DWORD value)
{
    HKEY key = CreateProduct();
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
}

void WriteString(LPCWSTR name, LPCWSTR value)
{
    HKEY key = CreateProduct();
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>((wcslen(value) + 1) * sizeof(WCHAR)));
    ::RegCloseKey(key);
}

bool ReadDword(LPCWSTR name, DWORD* value)
{
    DWORD type = 0;
    DWORD size = sizeof(*value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kProductKey, name, RRF_RT_ANY, &type, value, &size) == ERROR_SUCCESS
           && type == REG_DWORD;
}

std::vector<std::wstring> ValueNames()
{
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i)
    {
        WCHAR name[256];
        DWORD length = 256;
        if (::RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    ::RegCloseKey(key);
    return names;
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

} // namespace testing_registry
