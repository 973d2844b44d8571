// The program-menu group list of the menu options page: the folders one and
// two levels below the start menu, except the start-up folder.
#pragma once
#include <windows.h>

// The start menu ("Common Start Menu" with g_commonMenu, else "Start Menu")
// or the start-up folder ("Common Startup" / "Startup") from the Shell
// Folders key of the chosen root into folder (kPathSize). False when the key
// or a REG_SZ value is missing; folder may have been written then.
bool ReadStartMenuFolder(char* folder);
bool ReadStartupFolder(char* folder);

// Fills the combo box and selects the default group, g_menuDir relative to
// the start menu.
void FillMenuGroupList(HWND combo);

// path: the start-menu folder with a trailing separator (kPathSize buffer,
// changed during the walk); prefix: its length; startup: the start-up folder,
// which is not offered.
void AddMenuFolders(HWND combo, char* path, int prefix, const char* startup);

// The subfolders of the first-level folder in path, as "Folder\Subfolder".
void AddMenuSubfolders(HWND combo, char* path, int prefix, const char* startup);
