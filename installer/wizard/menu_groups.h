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

// True when folder is the start menu (ReadStartMenuFolder) or lies inside it.
bool IsInStartMenu(const char* folder);

// Fills the combo box and selects the default group, g_menuDir relative to
// the start menu. A folder name that changed on its way to this program is
// not offered and is reported once (message 41, owner the combo's parent).
void FillMenuGroupList(HWND combo);
