// A driver package folder of its own for one test: a copy of the sample
// package with Setup.exe beside it and Setup64.exe in its x64 folder, whose
// TQSetup.ini the test may change.
#pragma once
#include <windows.h>
#include <string>

#include "test_files.h"

namespace testing_support {

class DriverPackage {
public:
    // setup64Exe empty: a package without x64\Setup64.exe; setupExe empty: one
    // without Setup.exe (a 64-bit test tree has none). The folder name starts with stem.
    DriverPackage(const std::wstring& setupExe, const std::wstring& setup64Exe,
                  const wchar_t* stem = L"pkg");
    DriverPackage(const DriverPackage&) = delete;
    DriverPackage& operator=(const DriverPackage&) = delete;

    // False when a part of the package could not be copied.
    bool Complete() const { return complete_; }
    const std::wstring& Dir() const { return dir_.Path(); }
    std::wstring PathOf(const std::wstring& relative) const { return dir_ / relative; }
    std::wstring IniPath() const { return dir_ / L"TQSetup.ini"; }
    std::wstring SetupPath() const { return dir_ / L"Setup.exe"; }
    std::wstring Setup64Path() const { return dir_ / L"x64\\Setup64.exe"; }

    // Sets one value of TQSetup.ini; a null value removes the key.
    bool SetIniValue(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    // Replaces a whole section by lines separated with '\n'.
    bool SetIniSection(const wchar_t* section, const std::wstring& lines);
    // Writes a small file into the package (folders created as needed).
    bool AddFile(const std::wstring& relative, const std::string& content);

private:
    ScratchDir dir_;
    bool complete_ = false;
};

// The system folders as a 32-bit test program must name them to reach the
// real ones on 64-bit Windows: System32 ("sysnative" from WOW64) and SysWOW64.
std::wstring NativeSystemDir();
std::wstring Wow64SystemDir();

}  // namespace testing_support
