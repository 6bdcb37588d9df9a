#pragma once

#include <windows.h>

// Where and under which names the frame keeps its settings: one key of the
// current user, eight REG_DWORD values.
namespace settings {

const HKEY kRoot = HKEY_CURRENT_USER;
const wchar_t kProductKey[] = L"Software\\Pellicorn\\Ortelan";
const wchar_t kMakerKey[] = L"Software\\Pellicorn";
const REGSAM kAccess = KEY_READ | KEY_WRITE;

const wchar_t kTopMost[] = L"Menu_TopMost";
const wchar_t kMemoryShown[] = L"Menu_Memory";
const wchar_t kDiskShown[] = L"Menu_Disk";
const wchar_t kPerformanceShown[] = L"Menu_Performance";
const wchar_t kWindowTop[] = L"Window_Top";
const wchar_t kWindowLeft[] = L"Window_Left";
const wchar_t kWindowBottom[] = L"Window_Bottom";
const wchar_t kWindowRight[] = L"Window_Right";

// The product key, opened for reading and writing; null when it does not
// exist or cannot be opened.
HKEY OpenProductKey();

// Whether the product key is there, even when it cannot be opened.
bool ProductKeyExists();

// The product key, created when missing; null when that fails.
HKEY CreateProductKey();

// A four-byte REG_DWORD value; false when it is missing or of another type
// or size.
bool ReadDword(HKEY key, LPCWSTR name, DWORD* value);

void WriteDword(HKEY key, LPCWSTR name, DWORD value);

// Deletes subKey of parent with everything under it; the status of the
// first step that failed, or ERROR_SUCCESS.
LONG DeleteKeyTree(HKEY parent, LPCWSTR subKey);

// Deletes the product key and then the maker key if nothing else is left
// under it; another product's key keeps the maker key alive. False when the
// user's root key cannot be opened and nothing was deleted.
bool DeleteProductAndEmptyMakerKey();

} // namespace settings
