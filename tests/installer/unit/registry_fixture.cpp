#include "registry_fixture.h"

namespace installer_testing {

const wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

namespace {

bool WriteValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                const void* data, DWORD size)
{
    HKEY handle;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

}  // namespace

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name)
    : root_(root), key_(key), name_(name)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExW(handle, name.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        existed_ = RegQueryValueExW(handle, name.c_str(), nullptr, &type_,
                                    reinterpret_cast<BYTE*>(&data_[0]), &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
    RegCloseKey(handle);
}

ScopedRegistryValue::~ScopedRegistryValue()
{
    if (existed_)
        SetBytes(data_, type_);
    else
        Remove();
}

bool ScopedRegistryValue::SetString(const std::wstring& value, DWORD type)
{
    return WriteValue(root_, key_, name_, type, value.c_str(), DWORD((value.size() + 1) * sizeof(wchar_t)));
}

bool ScopedRegistryValue::SetDword(DWORD value)
{
    return WriteValue(root_, key_, name_, REG_DWORD, &value, sizeof(value));
}

bool ScopedRegistryValue::SetBytes(const std::string& bytes, DWORD type)
{
    return WriteValue(root_, key_, name_, type, bytes.data(), DWORD(bytes.size()));
}

bool ScopedRegistryValue::Remove()
{
    LONG result = RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

ScopedUninstallEntry::ScopedUninstallEntry(const std::wstring& name)
    : path_(std::wstring(kUninstallKey) + L"\\" + name)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
}

ScopedUninstallEntry::~ScopedUninstallEntry()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path_.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path_.c_str());
}

bool ScopedUninstallEntry::Set(const std::wstring& valueName, const std::wstring& value, DWORD type)
{
    return WriteValue(HKEY_LOCAL_MACHINE, path_, valueName, type, value.c_str(),
                      DWORD((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace installer_testing
