// Reading the registry of the prefix: whether a key is there and the text of
// a value, for checks of what a run wrote or removed.
#pragma once
#include <windows.h>
#include <string>

namespace testing_support {

bool KeyExists(HKEY root, const std::wstring& path);

// A REG_SZ value; "" when the key or value is missing.
std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name);

// A REG_DWORD value; kNoNumber when the key or value is missing.
const DWORD kNoNumber = 0xFFFFFFFF;
DWORD RegistryNumber(HKEY root, const std::wstring& key, const wchar_t* name);

}  // namespace testing_support
