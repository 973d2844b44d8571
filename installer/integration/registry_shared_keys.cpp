#include "registry_shared_keys.h"

#include <strsafe.h>

#include "globals.h"

namespace {

// Relative to HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; the first level
// ("Software", "SYSTEM", ...) is shared as a whole.
const char* const kSharedKeys[] = {
    "Software\\Microsoft",
    "Software\\Microsoft\\Windows",
    "Software\\Microsoft\\Windows\\CurrentVersion",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer",
    "Software\\Classes",
    "Software\\Classes\\CLSID",
    "Software\\Classes\\Interface",
    "Software\\Classes\\TypeLib",
    "Software\\Classes\\AppID",
    "Software\\Classes\\*",
    "Software\\Classes\\Directory",
    "Software\\Classes\\Folder",
    "Software\\Policies",
    "SYSTEM\\CurrentControlSet",
    "SYSTEM\\CurrentControlSet\\Services",
    "SYSTEM\\CurrentControlSet\\Control",
};

// HKEY_CLASSES_ROOT shows Software\Classes.
const char kClassesPrefix[] = "Software\\Classes\\";
const char kWow64Level[] = "Wow6432Node";

// Takes out every "Wow6432Node" level: the 32-bit view of a shared key is
// shared too.
void DropWow64Levels(char* keyPath)
{
    char* level = keyPath;
    while (*level) {
        char* end = level;
        while (*end && *end != '\\')
            end = CharNextA(end);
        const char saved = *end;
        *end = '\0';
        const bool wow64 = lstrcmpiA(level, kWow64Level) == 0;
        *end = saved;
        if (!wow64) {
            level = *end ? end + 1 : end;
            continue;
        }
        const char* rest = *end ? end + 1 : end;
        MoveMemory(level, rest, lstrlenA(rest) + 1);
    }
    NormalizeKeyPath(keyPath);
}

}  // namespace

void NormalizeKeyPath(char* keyPath)
{
    char* out = keyPath;
    bool afterSeparator = true;  // no separator at the start either
    for (char* p = keyPath; *p;) {
        char* next = CharNextA(p);
        const bool separator = next == p + 1 && *p == '\\';
        if (separator && afterSeparator) {
            p = next;
            continue;
        }
        afterSeparator = separator;
        while (p < next)
            *out++ = *p++;
    }
    if (afterSeparator && out != keyPath)
        --out;
    *out = '\0';
}

bool IsSharedRegistryKey(HKEY root, const char* keyPath)
{
    char path[kPathSize + sizeof(kClassesPrefix)];
    const bool classes = root == HKEY_CLASSES_ROOT;
    if (FAILED(StringCchPrintfA(path, ARRAYSIZE(path), "%s%s", classes ? kClassesPrefix : "", keyPath)))
        return false;
    DropWow64Levels(path);
    if (path[0] == '\0')
        return true;
    bool firstLevel = true;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\')
            firstLevel = false;
    }
    if (firstLevel && !classes)
        return true;
    for (const char* shared : kSharedKeys) {
        if (lstrcmpiA(path, shared) == 0)
            return true;
    }
    return false;
}
