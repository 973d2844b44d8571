// Registry keys that other software shares: the first-level keys below
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE and a short list of well-known
// keys with their ancestors. A package's uninstall may delete its own keys
// below them, never one of them.
#pragma once
#include <windows.h>

// Cuts doubled and trailing backslashes out of a key path, in place: the
// registry reads "Software\\Vendor\" as "Software\Vendor". Double-byte aware.
void NormalizeKeyPath(char* keyPath);

// True when keyPath (normalized) below root is empty, a first-level key of
// HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, or one of the shared keys:
// Software\Microsoft (and Windows, CurrentVersion, its Uninstall, Run,
// RunOnce and Explorer keys), Software\Classes with CLSID, Interface,
// TypeLib, AppID, *, Directory and Folder (also as first-level keys of
// HKEY_CLASSES_ROOT), Software\Policies, SYSTEM\CurrentControlSet and its
// Services and Control keys. "Wow6432Node" levels are passed over, and case
// does not count.
bool IsSharedRegistryKey(HKEY root, const char* keyPath);
