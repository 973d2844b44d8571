#include "uninstall_entry.h"

#include <windows.h>
#include <strsafe.h>

#include "file_identity.h"
#include "globals.h"
#include "path_helpers.h"
#include "registered_program.h"
#include "registry_key.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kFolderExistedValue[] = "FolderExisted";

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

    void SetNumber(const char* name, DWORD value)
    {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }

private:
    HKEY key_ = nullptr;
    bool created_ = false;
};

bool FormatEntryKey(char* keyPath)
{
    return SUCCEEDED(StringCchPrintfA(keyPath, kPathSize, "%s\\%s", kUninstallKey, g_installKey));
}

// A reinstall into the folder that the entry registers: the folder was
// there because the first install made it (or found it).
bool ReinstallsRegisteredFolder()
{
    char program[kPathSize];
    if (!FindRegisteredProgram(program))
        return false;
    *PathLastComponent(program) = '\0';
    return program[0] != '\0' && IsSameFile(program, g_installDir);
}

}  // namespace

void WriteUninstallEntry(const char* programPath)
{
    // A key name or command that does not fit is not written cut short: a
    // wrong key or a broken command would be worse than none. An empty path
    // (the program's target did not fit, which its copy has reported) would
    // register the command "\"\" /r".
    char keyPath[kPathSize];
    if (programPath[0] == '\0' || !FormatEntryKey(keyPath))
        return;
    const bool keepFolderRecord = ReinstallsRegisteredFolder();
    CreatedKey key(keyPath);
    if (!key.IsOpen())
        return;
    key.SetString("DisplayName", g_title);
    key.SetString("MenuDir", g_menuDir);
    char command[kPathSize + 8];  // quotes and " /r" around a full path
    if (SUCCEEDED(StringCchPrintfA(command, ARRAYSIZE(command), "\"%s\" /r", programPath)))
        key.SetString("UninstallString", command);
    if (!keepFolderRecord)
        key.SetNumber(kFolderExistedValue, g_installDirExisted ? 1 : 0);
}

bool InstallFolderExisted()
{
    char keyPath[kPathSize];
    RegistryKey entry;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    return FormatEntryKey(keyPath) && entry.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ) &&
           entry.QueryValue(kFolderExistedValue, &type, reinterpret_cast<BYTE*>(&value), &size) &&
           type == REG_DWORD && size == sizeof(value) && value == 1;
}
