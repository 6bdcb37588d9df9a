#include "SettingsRegistry.h"

namespace settings {

HKEY OpenProductKey()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(kRoot, kProductKey, 0, kAccess, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool ProductKeyExists()
{
    HKEY key = nullptr;
    LONG status = ::RegOpenKeyExW(kRoot, kProductKey, 0, KEY_READ, &key);
    if (status == ERROR_SUCCESS)
        ::RegCloseKey(key);
    return status != ERROR_FILE_NOT_FOUND;
}

HKEY CreateProductKey()
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(kRoot, kProductKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool ReadDword(HKEY key, LPCWSTR name, DWORD* value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof(data))
        return false;
    *value = data;
    return true;
}

void WriteDword(HKEY key, LPCWSTR name, DWORD value)
{
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG DeleteKeyTree(HKEY parent, LPCWSTR subKey)
{
    HKEY key = nullptr;
    LONG status = ::RegOpenKeyExW(parent, subKey, 0, kAccess, &key);
    if (status != ERROR_SUCCESS)
        return status;

    for (;;)
    {
        WCHAR child[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        status = DeleteKeyTree(key, child);
        if (status != ERROR_SUCCESS)
        {
            ::RegCloseKey(key);
            return status;
        }
    }
    ::RegCloseKey(key);
    return ::RegDeleteKeyW(parent, subKey);
}

bool DeleteProductAndEmptyMakerKey()
{
    HKEY root = nullptr;
    if (::RegOpenKeyExW(kRoot, nullptr, 0, kAccess, &root) != ERROR_SUCCESS)
        return false;
    DeleteKeyTree(root, kProductKey);

    // RegDeleteKeyW refuses a key that still has sub-keys, which is exactly
    // the rule for the maker's key; its values go with it.
    ::RegDeleteKeyW(root, kMakerKey);
    ::RegCloseKey(root);
    return true;
}

} // namespace settings
