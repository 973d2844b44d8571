// One shortcut as the script describes it: a [Group] entry, or the title
// shortcut made from [Install] entry 1, parsed from
// "target{?segment}[,arguments]" into what the shell link receives.
#pragma once
#include <windows.h>

#include "globals.h"

struct ShortcutItem {
    char name[kPathSize];
    char target[kPathSize];  // empty when the target leaves its folder
    bool hasArguments;
    char arguments[kPathSize];
    bool hasIcon;
    char iconFile[kPathSize];
    int iconIndex;
    bool hasWorkingText;
    char workingText[kPathSize];
};

// [Group] entry n (1 ... g_groupCount), whose target stays in the install
// folder's tree; n = 0 is the title shortcut, named g_title, whose target is
// that of [Install] entry 1 (the install folder's, the system or the Windows
// directory's tree). Uses g_entryName and g_entryTarget.
void ReadShortcutItem(int n, ShortcutItem* item);

// Whether the item runs the installed program (g_installDir and
// g_programName) with the arguments "/r": the menu's uninstall item.
bool IsUninstallItem(const ShortcutItem& item);

// The working directory named by a working-directory segment: absolute, on
// the install folder's drive, below a chosen base folder ("d!", "m!", "w!")
// or below g_installDir. g_installDir when that folder does not exist, does
// not fit, or leaves the base folder's tree.
void ResolveWorkingDirectory(const char* segmentText, char* folder);

// A value of the user's (HKEY_CURRENT_USER) or all users' (HKEY_LOCAL_MACHINE)
// "Shell Folders" key into folder (kPathSize); false when it cannot be read.
bool ReadShellFolder(HKEY root, const char* valueName, char* folder);
