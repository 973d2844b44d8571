#include "uninstall_entry.h"

#include <windows.h>
#include <strsafe.h>

#include "globals.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A key created (or opened) for writing, closed on every path.
class CreatedKey {
public:
    explicit CreatedKey(const char* path)
    {
        created_ = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key_, nullptr) ==
                   ERROR_SUCCESS;
    }
    CreatedKey(const CreatedKey&) = delete;
    CreatedKey& operator=(const CreatedKey&) = delete;
    ~CreatedKey()
    {
        if (created_)
            RegCloseKey(key_);
    }

    bool IsOpen() const { return created_; }

    void SetString(const char* name, const char* value)
    {
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
    }

private:
    HKEY key_ = nullptr;
    bool created_ = false;
};

}  // namespace

void WriteUninstallEntry(const char* programPath)
{
    // A key name or command that does not fit is not written cut short: a
    // wrong key or a broken command would be worse than none. An empty path
    // (the program's target did not fit, which its copy has reported) would
    // register the command "\"\" /r".
    char keyPath[kPathSize];
    if (programPath[0] == '\0' || FAILED(StringCchPrintfA(keyPath, kPathSize, "%s\\%s", kUninstallKey, g_installKey)))
        return;
    CreatedKey key(keyPath);
    if (!key.IsOpen())
        return;
    key.SetString("DisplayName", g_title);
    key.SetString("MenuDir", g_menuDir);
    char command[kPathSize + 8];  // quotes and " /r" around a full path
    if (SUCCEEDED(StringCchPrintfA(command, ARRAYSIZE(command), "\"%s\" /r", programPath)))
        key.SetString("UninstallString", command);
}
