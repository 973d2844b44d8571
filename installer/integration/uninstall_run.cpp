#include "uninstall_run.h"

#include <windows.h>
#include <strsafe.h>

#include "component_list.h"
#include "file_removal.h"
#include "globals.h"
#include "install_entries.h"
#include "messages.h"
#include "registry_removal.h"
#include "shortcuts.h"

namespace {

// The first listed file is normally the running application: the user must
// close it and start the uninstall again.
void ReportProgramNotRemoved(const char* path)
{
    char text[kCatalogueTextSize];
    FormatTextInto(text, IDS_DELETE_PROGRAM_FAILED, path, g_title);
    MessageBoxA(g_hwndOwner, text, nullptr, MB_ICONERROR);
}

// Entries g_installCount down to -1: the listed files, the script copy (0)
// and the installer copy (-1). The program-menu group goes just before the
// script copy, whose [Group] section names its items. Files in the system
// directory are shared and stay. False when a file stayed; *stop is set when
// it was the main program.
bool RemoveInstalledFiles(bool* stop)
{
    bool removed = true;
    for (int n = g_installCount; n >= -1; --n) {
        if (n == 0)
            ProcessShortcuts(LocationProgramMenu, true);
        if (!ResolveInstallEntry(n) || RemoveFile(g_entryTarget))
            continue;
        removed = false;
        if (n == 1) {
            ReportProgramNotRemoved(g_entryTarget);
            *stop = true;
            return false;
        }
    }
    return removed;
}

void DeleteUninstallEntry()
{
    char keyPath[kPathSize];
    if (SUCCEEDED(StringCchPrintfA(keyPath, kPathSize, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s",
                                   g_installKey)))
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, keyPath);
}

}  // namespace

bool RunUninstall()
{
    RemoveScriptRegistryKeys();
    ProcessScriptComponents(true, g_hwndOwner);

    bool stop = false;
    bool removed = RemoveInstalledFiles(&stop);
    if (stop)
        return false;
    // Cancel in the folder's questions ends only this step.
    if (!RemoveFolderTree(g_installDir))
        removed = false;
    DeleteUninstallEntry();
    ProcessShortcuts(LocationDesktop, true);
    ProcessShortcuts(LocationStartup, true);
    return removed;
}
