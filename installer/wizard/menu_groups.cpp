#include "menu_groups.h"

#include <strsafe.h>

#include "file_search.h"
#include "folder_entries.h"
#include "globals.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "registry_key.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool ReadShellFolder(const char* userValue, const char* commonValue, char* folder)
{
    RegistryKey key;
    return key.Open(g_commonMenu ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, KEY_READ) &&
           key.ReadString(g_commonMenu ? commonValue : userValue, folder, kPathSize);
}

// Calls add(name) for every folder found by pattern, which is written into
// path at its last component; path then holds the folder's full path. A name
// that changed on its way to this program names another folder: skipped and
// reported.
template <class AddFolder>
void ForEachFolder(char* path, SkippedNameReport& skipped, AddFolder add)
{
    if (!PathAppend(path, "*.*"))
        return;
    char* namePart = PathLastComponent(path);
    size_t room = kPathSize - (namePart - path);
    WIN32_FIND_DATAA found;
    FileSearch search(path, &found);
    if (!search.IsOpen())
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsSkippedByWizardWalk(found.cFileName))
            continue;
        if (IsChangedListedName(found.cFileName)) {
            *namePart = '\0';
            skipped.Report(path);
            continue;
        }
        // A name that does not fit would list a folder that is not there.
        if (FAILED(StringCchCopyA(namePart, room, found.cFileName)))
            continue;
        add();
    } while (search.Next(&found));
}

// The default group: g_menuDir below the start menu. A group elsewhere (an
// earlier installation's registered folder) is offered by its last name,
// so that <Next> places it below the start menu.
const char* DefaultGroupName(const char* startMenu, int prefix)
{
    int length = lstrlenA(g_menuDir);
    const char* name = g_menuDir + length;
    if (length >= prefix &&
        CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, g_menuDir, prefix, startMenu, prefix) == CSTR_EQUAL)
        name = g_menuDir + prefix;
    else
        name = PathLastComponent(g_menuDir);
    // "Menu" starting with a separator leaves one after the start menu.
    while (*name == '\\' || *name == '/')
        ++name;
    return name;
}

// The subfolders of the first-level folder in path, as "Folder\Subfolder".
void AddMenuSubfolders(HWND combo, char* path, int prefix, const char* startup, SkippedNameReport& skipped)
{
    ForEachFolder(path, skipped, [&] {
        if (lstrcmpA(path, startup) != 0)
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path + prefix));
    });
}

// path: the start-menu folder with a trailing separator (changed during the
// walk); prefix: its length; startup: the start-up folder, which is not
// offered.
void AddMenuFolders(HWND combo, char* path, int prefix, const char* startup, SkippedNameReport& skipped)
{
    ForEachFolder(path, skipped, [&] {
        if (lstrcmpA(path, startup) == 0)
            return;
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path + prefix));
        // The walk below works on a copy: this level's name part must stay.
        char folder[kPathSize];
        lstrcpynA(folder, path, kPathSize);
        AddMenuSubfolders(combo, folder, prefix, startup, skipped);
    });
}

}  // namespace

bool ReadStartMenuFolder(char* folder)
{
    return ReadShellFolder("Start Menu", "Common Start Menu", folder);
}

bool ReadStartupFolder(char* folder)
{
    return ReadShellFolder("Startup", "Common Startup", folder);
}

bool IsInStartMenu(const char* folder)
{
    char startMenu[kPathSize];
    return ReadStartMenuFolder(startMenu) && IsPathInFolderTree(folder, startMenu);
}

void FillMenuGroupList(HWND combo)
{
    char path[kPathSize];
    char startup[kPathSize];
    if (!ReadStartMenuFolder(path) || !ReadStartupFolder(startup) || !PathAppend(path, ""))
        return;
    int prefix = lstrlenA(path);
    char startMenu[kPathSize];
    lstrcpynA(startMenu, path, kPathSize);
    SkippedNameReport skipped(GetParent(combo));
    AddMenuFolders(combo, path, prefix, startup, skipped);

    const char* name = DefaultGroupName(startMenu, prefix);
    if (name[0] == '\0')
        return;
    if (SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)) == CB_ERR)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
}

