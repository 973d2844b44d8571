#include "install_entries.h"

#include <strsafe.h>

#include "globals.h"
#include "install_script.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "text_helpers.h"

namespace {

// A target path that does not fit is left empty: cut short, it would name
// another file (even one installed under the shorter name).
void FormatTargetInInstallDir(const char* rest)
{
    if (FAILED(StringCchPrintfA(g_entryTarget, kPathSize, "%s%s", g_installDir, rest)))
        g_entryTarget[0] = '\0';
}

// So is a file target that leaves the folder it was given for ("..", a
// drive, a stream): the copy reports the empty target and goes on, and the
// uninstall passes it by.
void ClearTargetOutside(const char* folder)
{
    if (!IsPathInFolderTree(g_entryTarget, folder))
        g_entryTarget[0] = '\0';
}

void SetTargetInInstallDir(const char* relativePath)
{
    FormatTargetInInstallDir(relativePath);
    ClearTargetOutside(g_installDir);
}

// path below the system or the Windows directory.
void SetTargetInSystemFolder(const char* path, EntryFolder where)
{
    char folder[kPathSize];
    g_entryTarget[0] = '\0';
    if (!GetEntryFolder(where, folder))
        return;
    lstrcpynA(g_entryTarget, folder, kPathSize);
    if (PathAppend(g_entryTarget, path))
        ClearTargetOutside(folder);
    else
        g_entryTarget[0] = '\0';
}

}  // namespace

EntryFolder EntryFolderOf(const char* target)
{
    if (target[0] == '\0' || target[1] != '!')
        return EntryInInstallDir;
    if ((target[0] | 0x20) == 's')
        return EntryInSystemDir;
    return (target[0] | 0x20) == 'w' ? EntryInWindowsDir : EntryInInstallDir;
}

bool GetEntryFolder(EntryFolder where, char* folder)
{
    if (where == EntryInInstallDir) {
        lstrcpynA(folder, g_installDir, kPathSize);
        return true;
    }
    const UINT length = where == EntryInSystemDir ? GetSystemDirectoryA(folder, kPathSize)
                                                  : GetWindowsDirectoryA(folder, kPathSize);
    return length > 0 && length < kPathSize;
}

bool ResolveInstallEntry(int n)
{
    if (n == -1) {
        lstrcpynA(g_entryName, g_programName, kPathSize);
        SetTargetInInstallDir(g_programName);
        return true;
    }
    if (n == 0) {
        lstrcpynA(g_entryName, g_scriptName, kPathSize);
        SetTargetInInstallDir(g_programName);
        // An empty target must not become the bare name ".INF".
        if (g_entryTarget[0] != '\0' && !PathSetExtension(g_entryTarget, "INF"))
            g_entryTarget[0] = '\0';
        return true;
    }

    ReadScriptText(kInstallSection, CounterKey(n), g_entryName, kPathSize);
    char* comma = FindChar(g_entryName, ',');
    if (!comma) {
        SetTargetInInstallDir(g_entryName);
        return true;
    }
    *comma = '\0';
    const char* target = SkipWhiteSpace(comma + 1);
    const EntryFolder where = EntryFolderOf(target);
    if (where == EntryInInstallDir)
        SetTargetInInstallDir(target);
    else
        SetTargetInSystemFolder(target + 2, where);
    return where != EntryInSystemDir;
}

void ResolveGroupEntry(int n)
{
    ReadScriptText(kGroupSection, CounterKey(n), g_entryName, kPathSize);
    char* comma = FindChar(g_entryName, ',');
    if (!comma) {
        g_entryName[0] = '\0';
        g_entryTarget[0] = '\0';
        return;
    }
    *comma = '\0';
    FormatTargetInInstallDir(comma + 1);
}
