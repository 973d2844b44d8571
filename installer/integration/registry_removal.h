// Deleting registry key trees at uninstall: the keys the install script lists
// in section "Reg" and the package's uninstall entry.
#pragma once
#include <windows.h>

// Deletes subKey below root with everything below it, as far as the rights
// allow; keys that stay are silent. An empty subKey or one that starts with
// a backslash, which could name root itself, deletes nothing.
void DeleteRegistryTree(HKEY root, const char* subKey);

// Deletes the tree of each entry "1", "2", ... of section "Reg" of the
// install script up to the first missing or empty one. An entry is a root
// name ("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE" or "HKEY_CLASSES_ROOT",
// exact case), one separator and a key path; any other entry, including a
// root without a key path or with a second separator, and one that names a
// key that is not a package's own (ClassifyRegEntry), is reported (message
// 27) and skipped. Doubled and trailing separators of the key path are
// dropped.
void RemoveScriptRegistryKeys();
