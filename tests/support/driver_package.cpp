#include "driver_package.h"

#include <vector>

namespace testing_support {

DriverPackage::DriverPackage(const std::wstring& setupExe, const std::wstring& setup64Exe,
                             const wchar_t* stem)
    : dir_(stem)
{
    complete_ = CopyTree(SAMPLE_PACKAGE_DIR, dir_.Path()) &&
                (setupExe.empty() || CopyFileW(setupExe.c_str(), SetupPath().c_str(), FALSE));
    if (complete_ && !setup64Exe.empty())
        complete_ = CreateDirectories(dir_ / L"x64") &&
                    CopyFileW(setup64Exe.c_str(), Setup64Path().c_str(), FALSE);
}

bool DriverPackage::SetIniValue(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    const std::wstring ini = IniPath();
    const bool ok = WritePrivateProfileStringW(section, key, value, ini.c_str()) != FALSE;
    // Flush the profile cache so that the programs started next read the change.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    return ok;
}

bool DriverPackage::SetIniSection(const wchar_t* section, const std::wstring& lines)
{
    std::vector<wchar_t> block(lines.begin(), lines.end());
    for (wchar_t& c : block) {
        if (c == L'\n')
            c = L'\0';
    }
    block.push_back(L'\0');
    block.push_back(L'\0');
    const std::wstring ini = IniPath();
    const bool ok = WritePrivateProfileSectionW(section, block.data(), ini.c_str()) != FALSE;
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    return ok;
}

bool DriverPackage::AddFile(const std::wstring& relative, const std::string& content)
{
    const std::wstring path = dir_ / relative;
    const size_t cut = path.find_last_of(L'\\');
    return CreateDirectories(path.substr(0, cut)) && WriteFileBytes(path, content);
}

namespace {

std::wstring WindowsDir()
{
    wchar_t dir[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(dir, MAX_PATH);
    return dir;
}

}  // namespace

std::wstring NativeSystemDir()
{
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return WindowsDir() + (wow64 ? L"\\sysnative" : L"\\system32");
}

std::wstring Wow64SystemDir()
{
    return WindowsDir() + L"\\syswow64";
}

}  // namespace testing_support
