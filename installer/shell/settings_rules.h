// What install makes of the script's settings: whether it can go on, the
// uninstall key and the install folder. install and the package checker
// decide with this code.
#pragma once
#include <windows.h>

#include "globals.h"

// Below HKEY_LOCAL_MACHINE: one subkey per installed package.
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The uninstall key path below kUninstallKey must fit into kPathSize - 1.
enum { kInstallKeyLimit = kPathSize - 1 - (sizeof(kUninstallKey) - 1) - 1 };

// Whether "Title" and "Folder" are both set; without either install stops
// with message 1.
bool HasRequiredSettings(const char* title, const char* folder);

// installKey (kPathSize) holds "InstallKey" as read; it becomes the name
// the uninstall key is derived from: the last component of folder when empty
// (a trailing separator does not count, so "Vendor\App\" gives "App"), with
// slashes and backslashes turned into underscores.
void DeriveInstallKey(const char* folder, char* installKey);

// DeriveInstallKey, then cut to kInstallKeyLimit bytes without splitting a
// double-byte character. False when nothing is left (a Folder of separators
// only).
bool ChooseInstallKey(const char* folder, char* installKey);

// installDir (kPathSize) holds the program-files folder; it becomes the
// install folder, ending in a separator: a folder starting with a separator
// replaces everything after the drive (or the share) of installDir, any
// other is appended to it. False when the folder had to be cut to fit.
bool ComposeInstallDir(char* installDir, const char* folder);
