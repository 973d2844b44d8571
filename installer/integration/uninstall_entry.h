// The package's entry in the system's list of installed programs, which also
// tells a later run of install where the package went.
#pragma once

// Creates or reuses HKLM "...\Uninstall\<g_installKey>" and writes
// "DisplayName", "MenuDir" and "UninstallString" ("\"<programPath>\" /r").
// Silent: an entry that cannot be written, or one for an empty programPath,
// is left out.
void WriteUninstallEntry(const char* programPath);
