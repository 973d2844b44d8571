// Shell shortcuts of the installed package: the program-menu group listed in
// the script's [Group] section, and the single title shortcut on the desktop
// or in the Startup folder.
#pragma once

enum ShortcutLocation {
    LocationProgramMenu,  // g_menuDir
    LocationDesktop,      // shell folder "Desktop" / "Common Desktop"
    LocationStartup,      // shell folder "Startup" / "Common Startup"
};

// Creates (remove false) or deletes the shortcuts of one location. Silent,
// apart from the folder-creation messages of the program-menu group and
// message 21 for an item whose target did not fit (no link is made for it). While
// creating, the item that runs the installed program with "/r" is recorded in
// g_uninstallMenuName.
void ProcessShortcuts(ShortcutLocation location, bool remove);

// The link file of the shortcut named name in folder (which ends in a
// separator). False when the name leads out of the folder (through "..", a
// drive or a stream) or the path does not fit: no link is written or deleted.
bool FormatLinkPath(char* link, const char* folder, const char* name);
