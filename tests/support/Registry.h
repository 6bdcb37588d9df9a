#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// The program's saved settings in the current user's registry, as the tests
// prepare and read them.
namespace support {

const wchar_t kProductKey[] = L"Software\\Pellicorn\\Ortelan";
const wchar_t kMakerKey[] = L"Software\\Pellicorn";

bool KeyExists(LPCWSTR path);
void CreateKey(LPCWSTR path);
// Removes the maker key with everything in it.
void RemoveAllSettings();

// One value of the product key, of any type and length, as a hand edit
// may leave it.
void WriteValue(LPCWSTR name, DWORD type, const void* data, DWORD size);
void WriteDword(LPCWSTR name, DWORD value);
// False unless the value is a REG_DWORD of four bytes.
bool ReadDword(LPCWSTR name, DWORD* value);
DWORD ValueCount();

// The eight values of a complete set, as the program writes them.
void WriteAll(DWORD topMost, DWORD memory, DWORD disk, DWORD performance, const RECT& window);

// A test that starts and ends with no saved settings.
class CleanSettingsTest : public testing::Test
{
protected:
    void SetUp() override { RemoveAllSettings(); }
    void TearDown() override { RemoveAllSettings(); }
};

} // namespace support
