// Turning numbered script entries into a name and a target path, left in
// g_entryName and g_entryTarget.
#pragma once

// The folder an entry's target lies in, chosen by the prefix of the text
// after its comma (white space skipped): "S!" or "s!" the system directory,
// "W!" or "w!" the Windows directory, anything else the install folder.
enum EntryFolder { EntryInInstallDir, EntryInSystemDir, EntryInWindowsDir };
EntryFolder EntryFolderOf(const char* target);

// That folder's path (kPathSize); false when it cannot be had whole.
bool GetEntryFolder(EntryFolder where, char* folder);

// Entry -1 is the program itself, 0 the install script (installed under the
// program's base name with extension "INF"), 1 ... g_installCount the numbered
// keys of section "Install". False only for a target in the system directory
// ("S!"), whose file is shared and stays at uninstall. A target that does not
// fit, or that leaves its folder (the install folder, the system or the
// Windows directory) through "..", a drive or a stream, is left empty.
bool ResolveInstallEntry(int n);

// Section "Group" entry n: the shortcut name, and g_installDir followed by
// the rest of the value as it stands. Both empty without a comma.
void ResolveGroupEntry(int n);
