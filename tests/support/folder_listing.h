// Names of the files in one folder, for tests that look at what a run put
// into (or must remove from) the system folders.
#pragma once
#include <string>
#include <vector>

namespace testing_support {

// File names (no folders) in dir that match pattern, such as L"*.inf";
// empty when the folder is missing.
std::vector<std::wstring> FileNamesIn(const std::wstring& dir, const wchar_t* pattern = L"*");

// Every file below root, named relative to it ("x64\\Setup64.exe"); empty
// when the folder is missing.
std::vector<std::wstring> FilesBelow(const std::wstring& root);

}  // namespace testing_support
