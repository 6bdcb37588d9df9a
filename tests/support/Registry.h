#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// The program's saved settings in the current user's registry, as the tests
// prepare and read them.
namespace support {

const wchar_t kProductKey[] = L"Software\\Pellicorn\\Ortelan";
const wchar_t kMakerKey[] = L"Software\\Pellicorn";

inline bool KeyExists(LPCWSTR path)
{
    HKEY key = nullptr;
    LONG status = ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

inline void CreateKey(LPCWSTR path)
{
    HKEY key = nullptr;
    ::RegCreateKeyW(HKEY_CURRENT_USER, path, &key);
    ::RegCloseKey(key);
}

inline void RemoveAllSettings()
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kMakerKey);
}

// One value of the product key, of any type and length, as a hand edit may
// leave it.
inline void WriteValue(LPCWSTR name, DWORD type, const void* data, DWORD size)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kProductKey, name, type, data, size);
}

// False unless the value is a REG_DWORD of four bytes.
inline bool ReadDword(LPCWSTR name, DWORD* value)
{
    DWORD type = 0;
    DWORD size = sizeof(*value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kProductKey, name, RRF_RT_ANY, &type, value, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof(*value);
}

inline DWORD ValueCount()
{
    HKEY key = nullptr;
    DWORD count = 0;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, &key);
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr);
    ::RegCloseKey(key);
    return count;
}

// The eight values the program writes: four flags, then the window's edges
// in the order of a RECT.
const wchar_t* const kValueNames[] = {L"Menu_TopMost", L"Menu_Memory", L"Menu_Disk", L"Menu_Performance",
                                      L"Window_Left",  L"Window_Top",  L"Window_Right", L"Window_Bottom"};

inline void WriteAll(DWORD topMost, DWORD memory, DWORD disk, DWORD performance, const RECT& window)
{
    const LONG values[] = {LONG(topMost), LONG(memory), LONG(disk), LONG(performance),
                           window.left,   window.top,   window.right, window.bottom};
    for (int i = 0; i < 8; ++i)
        WriteValue(kValueNames[i], REG_DWORD, &values[i], sizeof(DWORD));
}

// A test that starts and ends with no saved settings.
class CleanSettingsTest : public testing::Test
{
protected:
    void SetUp() override { RemoveAllSettings(); }
    void TearDown() override { RemoveAllSettings(); }
};

} // namespace support
