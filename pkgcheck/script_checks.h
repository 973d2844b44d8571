// The checks of one install script; each reports its findings itself.
#pragma once
#include <windows.h>

#include "installed_files.h"
#include "package_folder.h"
#include "script_file.h"

// The key that names the package in the uninstall list, as install derives
// it, and the title: compared between the language scripts.
struct ScriptIdentity {
    wchar_t title[kValueBytes];
    wchar_t installKey[kValueBytes];
};

// Bytes that do not survive the script's code page.
void CheckScriptText(const ScriptFile& script);

// Title, Folder, InstallKey and Menu.
void CheckScriptSettings(const ScriptFile& script, ScriptIdentity* identity);

// Numbered keys that come after the first gap of their list.
void CheckNumberedLists(const ScriptFile& script);

// The [Install] entries and CopyAll; fills installed.
void CheckInstallEntries(const ScriptFile& script, const PackageFolder& package, InstalledFiles& installed);

// The [Group] shortcuts and the uninstall item.
void CheckGroupEntries(const ScriptFile& script, const InstalledFiles& installed);

// "Open" and the RegFiles components.
void CheckOpenAndComponents(const ScriptFile& script, const PackageFolder& package, const InstalledFiles& installed);

// The [Reg] keys the uninstall deletes.
void CheckRegEntries(const ScriptFile& script);

// Number of the leading non-empty keys stem+first, stem+first+1, ...
unsigned CountListEntries(const ScriptFile& script, const wchar_t* section, const wchar_t* stem, unsigned first);
