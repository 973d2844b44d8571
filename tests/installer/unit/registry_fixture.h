// Registry state for installer tests: values and keys set for one test and
// put back as they were afterwards. Keys under HKEY_LOCAL_MACHINE\Software are
// seen through the same 32-bit view as install.exe.
#pragma once
#include <windows.h>
#include <string>

namespace installer_testing {

extern const wchar_t kCurrentVersionKey[];
extern const wchar_t kShellFoldersKey[];
extern const wchar_t kUninstallKey[];

// One registry value, restored (or removed again) on destruction.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name);
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;
    ~ScopedRegistryValue();

    bool SetString(const std::wstring& value, DWORD type = REG_SZ);
    bool SetDword(DWORD value);
    bool SetBytes(const std::string& bytes, DWORD type);
    bool Remove();

private:
    HKEY root_;
    std::wstring key_;
    std::wstring name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::string data_;
};

// An uninstall entry "Software\...\Uninstall\<name>" that exists for one test.
class ScopedUninstallEntry {
public:
    explicit ScopedUninstallEntry(const std::wstring& name);
    ScopedUninstallEntry(const ScopedUninstallEntry&) = delete;
    ScopedUninstallEntry& operator=(const ScopedUninstallEntry&) = delete;
    ~ScopedUninstallEntry();

    bool Set(const std::wstring& valueName, const std::wstring& value, DWORD type = REG_SZ);

private:
    std::wstring path_;
};

}  // namespace installer_testing
