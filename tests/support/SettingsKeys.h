#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The program's settings in the current user's registry, as the tests see
// and prepare them.
namespace testing_registry {

const wchar_t kProductKey[] = L"Software\\Pellicorn\\Ortelan";
const wchar_t kMakerKey[] = L"Software\\Pellicorn";

bool KeyExists(LPCWSTR path);
void CreateKey(LPCWSTR path);
void DeleteTree(LPCWSTR path);

// Removes the product key and the maker key with all they hold.
void RemoveAllSettings();

void WriteDword(LPCWSTR name, DWORD value);
void WriteString(LPCWSTR name, LPCWSTR value);
bool ReadDword(LPCWSTR name, DWORD* value);

// The names of the product key's values in the order the registry lists them.
std::vector<std::wstring> ValueNames();

// The eight values of a complete set, written in the program's order.
void WriteAll(DWORD topMost, DWORD memory, DWORD disk, DWORD performance, const RECT& window);

// A test that starts and ends with no saved settings.
class CleanSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { RemoveAllSettings(); }
    void TearDown() override { RemoveAllSettings(); }
};

} // namespace testing_registry
