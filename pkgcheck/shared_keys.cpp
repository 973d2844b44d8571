#include "shared_keys.h"

#include <strsafe.h>

#include "package_folder.h"

namespace {

// Below HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE (every first-level key is
// shared as well).
const wchar_t* const kSharedMachineKeys[] = {
    L"Software\\Microsoft",
    L"Software\\Classes",
    L"Software\\Wow6432Node",
    L"Software\\Policies",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer",
    L"Software\\Microsoft\\Windows NT\\CurrentVersion",
    L"SYSTEM\\CurrentControlSet\\Services",
    L"SYSTEM\\CurrentControlSet\\Control",
};

// Below HKEY_CLASSES_ROOT, and below Software\Classes of the other roots.
const wchar_t* const kSharedClassKeys[] = {
    L"CLSID", L"Interface", L"TypeLib", L"AppID", L"*\\shellex\\ContextMenuHandlers", L"*\\shell",
    L"Directory\\shell", L"Directory\\shellex", L"Directory\\Background\\shell", L"Folder\\shell",
    L"Folder\\shellex",
};

const wchar_t kSoftware[] = L"Software";
const wchar_t kWow64Node[] = L"Software\\Wow6432Node";
const wchar_t kClasses[] = L"Software\\Classes";

// Whether path starts with prefix as whole components; rest gets what
// follows the separator ("" when path equals prefix).
bool StartsWithKey(const wchar_t* path, const wchar_t* prefix, const wchar_t** rest)
{
    const int length = lstrlenW(prefix);
    if (!HasPrefix(path, prefix, true))
        return false;
    if (path[length] != L'\0' && path[length] != L'\\')
        return false;
    *rest = path[length] ? path + length + 1 : path + length;
    return true;
}

// path is one of keys, or an ancestor of one.
bool IsListedOrAncestor(const wchar_t* path, const wchar_t* const* keys, int count)
{
    for (int i = 0; i < count; ++i) {
        const wchar_t* rest;
        if (StartsWithKey(keys[i], path, &rest))
            return true;
    }
    return false;
}

bool IsSharedClassKey(const wchar_t* path)
{
    return !path[0] || IsListedOrAncestor(path, kSharedClassKeys, ARRAYSIZE(kSharedClassKeys));
}

}  // namespace

bool IsSharedKey(RegistryRootName root, const wchar_t* path)
{
    if (root == RootClassesRoot)
        return IsSharedClassKey(path);
    const wchar_t* rest;
    // The 32-bit view of Software holds the same shared keys.
    wchar_t native[MAX_PATH];
    if (StartsWithKey(path, kWow64Node, &rest) && rest[0]) {
        StringCchPrintfW(native, ARRAYSIZE(native), L"%s\\%s", kSoftware, rest);
        path = native;
    }
    if (StartsWithKey(path, kClasses, &rest) && rest[0])
        return IsSharedClassKey(rest);
    bool firstLevel = true;
    for (const wchar_t* c = path; *c; ++c)
        firstLevel &= *c != L'\\';
    return firstLevel || IsListedOrAncestor(path, kSharedMachineKeys, ARRAYSIZE(kSharedMachineKeys));
}
