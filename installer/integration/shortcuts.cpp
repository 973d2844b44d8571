#include "shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <strsafe.h>

#include "com_holders.h"
#include "error_box.h"
#include "folder_creation.h"
#include "globals.h"
#include "install_entries.h"
#include "menu_groups.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "resource_ids.h"
#include "shortcut_item.h"

namespace {

// The location's folder with one trailing separator; false when it is not
// configured or too long.
bool FindShortcutFolder(ShortcutLocation location, char* folder)
{
    if (location == LocationProgramMenu) {
        lstrcpynA(folder, g_menuDir, kPathSize);
    } else {
        const char* value = location == LocationDesktop ? (g_commonMenu ? "Common Desktop" : "Desktop")
                                                        : (g_commonMenu ? "Common Startup" : "Startup");
        if (!ReadShellFolder(g_commonMenu ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, value, folder))
            return false;
    }
    return PathAppend(folder, "") != nullptr;
}

void SaveShortcut(const char* link, const ShortcutItem& item)
{
    ComPointer<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shellLink.Receive())))
        return;
    if (item.hasArguments)
        shellLink->SetArguments(item.arguments);
    if (item.hasIcon)
        shellLink->SetIconLocation(item.iconFile, item.iconIndex);
    shellLink->SetPath(item.target);
    shellLink->SetDescription(item.name);

    char workingDir[kPathSize];
    if (item.hasWorkingText)
        ResolveWorkingDirectory(item.workingText, workingDir);
    else
        lstrcpynA(workingDir, g_installDir, kPathSize);
    shellLink->SetWorkingDirectory(workingDir);

    ComPointer<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.Receive())))
        return;
    WCHAR wideLink[kPathSize];
    if (MultiByteToWideChar(CP_ACP, 0, link, -1, wideLink, kPathSize) > 0)
        file->Save(wideLink, TRUE);
}

void CreateShortcuts(ShortcutLocation location, const char* folder)
{
    // Without [Group] entries the one item is the title shortcut (item 0),
    // in the group folder that "Menu" names when it names one: that folder
    // is made as well, or the shortcut would silently be missing.
    int first = 0;
    int last = 0;
    if (location == LocationProgramMenu) {
        CreateFolderPath(folder);
        if (g_groupCount > 0) {
            first = 1;
            last = g_groupCount;
        }
    }
    ComApartment apartment;
    for (int n = first; n <= last; ++n) {
        ShortcutItem item;
        ReadShortcutItem(n, &item);
        // A target that did not fit its buffer was left empty, and a link
        // must not point nowhere: reported like a file that was not copied.
        if (item.target[0] == '\0') {
            if (item.name[0] != '\0')
                ShowErrorWith(IDS_COPY_FAILED, item.name);
            continue;
        }
        if (IsUninstallItem(item))
            lstrcpynA(g_uninstallMenuName, item.name, kPathSize);
        char link[kPathSize];
        if (FormatLinkPath(link, folder, item.name))
            SaveShortcut(link, item);
    }
}

// Trailing separators go, except the one that ends a root.
void DropTrailingSeparators(char* path)
{
    for (;;) {
        char* last = FindLastSeparator(path);
        if (!last || !IsPathSeparator(*last) || last[1] != '\0' || last == FindRootEnd(path))
            return;
        *last = '\0';
    }
}

// A folder the group's removal may take when it is empty: below the start
// menu, and not the programs folder, which the start menu holds for all
// programs.
bool IsRemovableMenuFolder(const char* path, const char* startMenu)
{
    char programs[kPathSize];
    return IsPathBelowFolder(path, startMenu) &&
           !(ReadShellFolder(g_commonMenu ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                             g_commonMenu ? "Common Programs" : "Programs", programs) &&
             IsPathInFolderTree(programs, path));
}

// The group folder and each parent that it leaves empty, up to the first
// folder that cannot be removed, and never the programs folder, the start
// menu or anything above it.
void RemoveFolderAndEmptyParents(const char* folder)
{
    char startMenu[kPathSize];
    if (!ReadStartMenuFolder(startMenu))
        return;
    char path[kPathSize];
    lstrcpynA(path, folder, kPathSize);
    DropTrailingSeparators(path);
    while (IsRemovableMenuFolder(path, startMenu) && RemoveDirectoryA(path)) {
        char* separator = FindLastSeparator(path);
        if (!separator || !IsPathSeparator(*separator))
            return;
        *separator = '\0';
        DropTrailingSeparators(path);
    }
}

void RemoveShortcuts(ShortcutLocation location, const char* folder)
{
    char link[kPathSize];
    if (location != LocationProgramMenu || g_groupCount <= 0) {
        if (FormatLinkPath(link, folder, g_title))
            DeleteFileA(link);
    }
    // A group outside the start menu is no group this install made.
    if (location != LocationProgramMenu || !IsInStartMenu(folder))
        return;
    for (int n = 1; n <= g_groupCount; ++n) {
        ResolveGroupEntry(n);
        if (FormatLinkPath(link, folder, g_entryName))
            DeleteFileA(link);
    }
    RemoveFolderAndEmptyParents(folder);
}

}  // namespace

bool FormatLinkPath(char* link, const char* folder, const char* name)
{
    return SUCCEEDED(StringCchPrintfA(link, kPathSize, "%s%s.lnk", folder, name)) && IsPathInFolderTree(link, folder);
}

void ProcessShortcuts(ShortcutLocation location, bool remove)
{
    char folder[kPathSize];
    if (!FindShortcutFolder(location, folder))
        return;
    if (remove)
        RemoveShortcuts(location, folder);
    else
        CreateShortcuts(location, folder);
}
