// The package's entry in the system's list of installed programs, which also
// tells a later run of install where the package went.
#pragma once

// Creates or reuses HKLM "...\Uninstall\<g_installKey>" and writes
// "DisplayName", "MenuDir" and "UninstallString" ("\"<programPath>\" /r"),
// and "FolderExisted" (1 when the install folder was there before the run,
// g_installDirExisted), except on a reinstall into the folder the entry
// already registers, which keeps the first install's value. Silent: an entry
// that cannot be written, or one for an empty programPath, is left out.
void WriteUninstallEntry(const char* programPath);

// The entry's "FolderExisted" is 1. An entry without it (made by an older
// version) and a missing entry count as a folder the install made.
bool InstallFolderExisted();
