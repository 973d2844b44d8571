// Which registry keys a [Reg] line may have the uninstall delete: only keys
// where a package's own keys live. install's uninstall and pkgcheck decide
// with this one rule.
#pragma once
#include <windows.h>

enum RegEntryVerdict {
    RegEntryDeletable,
    RegEntryUnknownRoot,    // no root name in capitals followed by a separator
    RegEntryNoKeyPath,      // a root without a key path below it
    RegEntryNotPackageKey,  // a key of Windows or of other software
};

// entry: a value of section "Reg" in codePage (install passes CP_ACP, its
// own): "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE" or "HKEY_CLASSES_ROOT"
// (exact case), one separator ("\" or "/") and a key path. Deletable are the
// keys below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE "Software\<vendor>" (the
// vendor key included) for a vendor name that is not one Windows owns
// (Microsoft, Classes, Policies, ...), and class keys (below
// HKEY_CLASSES_ROOT or "Software\Classes"): a GUID key of CLSID, TypeLib,
// AppID or Interface, or a ProgID that is neither a file extension nor one
// Windows registers. "Wow6432Node" levels are passed over and case does not
// count. For every verdict but RegEntryUnknownRoot, *root is set; for
// RegEntryDeletable and RegEntryNotPackageKey, keyPath (kPathSize) receives
// the key path without doubled or trailing backslashes (double-byte aware),
// as the registry reads it.
RegEntryVerdict ClassifyRegEntry(const char* entry, UINT codePage, HKEY* root, char* keyPath);
