#include "install_settings.h"

#include <string.h>
#include <strsafe.h>

#include "globals.h"
#include "install_script.h"
#include "messages.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "registered_program.h"
#include "registry_key.h"
#include "settings_rules.h"
#include "text_helpers.h"

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void ReportUninstallEntryUsed(const char* displayName)
{
    MessageBoxA(nullptr, FormatText(IDS_UNINSTALL_ENTRY_USED, displayName), nullptr, MB_ICONERROR);
}

void ReadAccessoriesName(char* name, DWORD size)
{
    RegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ) ||
        !key.ReadString("SM_AccessoriesName", name, size))
        lstrcpynA(name, "Accessories", size);
}

void ComputeMenuDir(const char* menu)
{
    RegistryKey folders;
    folders.Open(g_commonMenu ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, KEY_READ);
    if (!folders.ReadString(g_commonMenu ? "Common Programs" : "Programs", g_menuDir, kPathSize))
        g_menuDir[0] = '\0';
    // The folder each form of "Menu" starts from, which the group must not
    // leave ("..").
    char base[kPathSize];
    lstrcpynA(base, g_menuDir, kPathSize);

    if (IsPathSeparator(menu[0])) {
        // Without a start-menu folder the group stays below the programs folder.
        if (folders.ReadString(g_commonMenu ? "Common Start Menu" : "Start Menu", base, kPathSize))
            lstrcpynA(g_menuDir, base, kPathSize);
        else
            lstrcpynA(base, g_menuDir, kPathSize);
        PathAppend(g_menuDir, menu);
    } else if (menu[0] == 'a' && menu[1] == '!') {
        char accessories[kShortNameSize];
        ReadAccessoriesName(accessories, kShortNameSize);
        PathAppend(g_menuDir, accessories);
        PathAppend(g_menuDir, menu + 2);
    } else if (menu[0] != '\0') {
        PathAppend(g_menuDir, menu);
    } else if (g_groupCount > 0) {
        PathAppend(g_menuDir, g_title);
    }
    // A group that would leave that folder is the title's group in it instead.
    if (base[0] != '\0' && !IsPathInFolderTree(g_menuDir, base)) {
        lstrcpynA(g_menuDir, base, kPathSize);
        PathAppend(g_menuDir, g_title);
    }
}

void ReadProgramFilesDir()
{
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ) &&
        key.ReadString("ProgramFilesDir", g_installDir, kPathSize))
        return;
    char windows[kPathSize];
    UINT length = GetWindowsDirectoryA(windows, kPathSize);
    if (length > 0 && length < kPathSize && windows[1] == ':') {
        windows[2] = '\0';
        StringCchPrintfA(g_installDir, kPathSize, "%s\\Program Files", windows);
    } else {
        lstrcpynA(g_installDir, "C:\\", kPathSize);
    }
}

void ComputeInstallDir(const char* folder)
{
    ReadProgramFilesDir();
    ComposeInstallDir(g_installDir, folder);
}

// The folder of the program registered in an existing uninstall entry.
void TakeRegisteredFolder(RegistryKey& entry)
{
    char program[kPathSize];
    if (!ReadRegisteredProgram(entry, program))
        return;
    char* separator = FindLastSeparator(program);
    if (!separator)
        return;
    separator[1] = '\0';
    lstrcpynA(g_installDir, program, kPathSize);
}

// False (after message 2) when another package holds the uninstall key or
// another key carries the same display name.
bool CheckUninstallEntry()
{
    char keyPath[kPathSize];
    StringCchPrintfA(keyPath, kPathSize, "%s\\%s", kUninstallKey, g_installKey);
    RegistryKey entry;
    if (entry.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ)) {
        if (entry.ReadString("DisplayName", g_entryName, kPathSize) && strcmp(g_entryName, g_title) != 0) {
            ReportUninstallEntryUsed(g_entryName);
            return false;
        }
        TakeRegisteredFolder(entry);
        char menuDir[kPathSize];
        if (entry.ReadString("MenuDir", menuDir, kPathSize))
            lstrcpynA(g_menuDir, menuDir, kPathSize);
        return true;
    }

    RegistryKey uninstall;
    if (!uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_ENUMERATE_SUB_KEYS))
        return true;
    char name[kPathSize];
    for (DWORD index = 0; RegEnumKeyA(uninstall.Handle(), index, name, kPathSize) == ERROR_SUCCESS; ++index) {
        RegistryKey other;
        if (other.Open(uninstall.Handle(), name, KEY_READ) &&
            other.ReadString("DisplayName", g_entryName, kPathSize) && strcmp(g_entryName, g_title) == 0) {
            ReportUninstallEntryUsed(g_entryName);
            return false;
        }
    }
    return true;
}

}  // namespace

void ReportDamagedScript()
{
    ShowMessage(nullptr, IDS_DAMAGED_SCRIPT, nullptr, MB_ICONERROR);
}

bool LoadInstallSettings()
{
    char folder[kPathSize];
    char menu[kPathSize];
    ReadScriptText(kInstallSection, "Title", g_title, kTitleSize);
    ReadScriptText(kInstallSection, "Folder", folder, kPathSize);
    ReadScriptText(kInstallSection, "InstallKey", g_installKey, kPathSize);
    ReadScriptText(kInstallSection, "Menu", menu, kPathSize);

    g_resident = ReadScriptFlag("TSR");
    g_removeNone = ReadScriptFlag("RemoveNone");
    g_commonMenu = ReadScriptFlag("CommonMenu");
    g_copyAll = ReadScriptFlag("CopyAll");

    if (!HasRequiredSettings(g_title, folder)) {
        ReportDamagedScript();
        return false;
    }

    g_installCount = CountScriptEntries(kInstallSection);
    g_groupCount = CountScriptEntries(kGroupSection);

    // A Folder that is only separators leaves no name for the uninstall key.
    if (!ChooseInstallKey(folder, g_installKey)) {
        ReportDamagedScript();
        return false;
    }
    ReplaceChar(folder, '/', '\\');
    ReplaceChar(menu, '/', '\\');

    ComputeMenuDir(menu);
    ComputeInstallDir(folder);
    return CheckUninstallEntry();
}
