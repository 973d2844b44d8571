#include "registry_package_keys.h"

#include <string.h>
#include <strsafe.h>

#include "globals.h"

namespace {

struct RegistryRoot {
    const char* name;
    HKEY key;
};

// Tested in this order, each as a case-sensitive prefix of the entry.
const RegistryRoot kRegistryRoots[] = {
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
};

// Names below "Software" that Windows itself keeps.
const char* const kWindowsSoftwareKeys[] = {
    "Microsoft", "Classes", "Policies", "Wow6432Node", "Clients", "RegisteredApplications", "ODBC",
    "AppDataLow", "DefaultUserEnvironment", "Setup", "System", "Windows", "OEM", "Partner",
};

// The class keys that hold one key per GUID.
const char* const kGuidClassKeys[] = {"CLSID", "TypeLib", "AppID", "Interface"};

// First-level class keys that Windows registers.
const char* const kWindowsClassKeys[] = {
    "*", "AllFilesystemObjects", "Applications", "Component Categories", "CompressedFolder", "DesktopBackground",
    "Directory", "DirectShow", "Drive", "FileType", "Filter", "Folder", "Installer", "KindMap", "LibraryFolder",
    "Local Settings", "Media Type", "MIME", "Network", "Printers", "PROTOCOLS", "SystemFileAssociations",
    "Unknown", "InternetShortcut", "htmlfile", "mhtmlfile", "JSEFile", "VBSFile", "VBEFile", "WSFFile",
    "WSHFile", "http", "https", "ftp", "mailto", "file", "Msi.Package", "Msi.Patch",
};

// Prefixes of the ProgIDs and protocols of Windows and its scripting hosts.
const char* const kWindowsClassPrefixes[] = {"Microsoft.", "Windows.", "Msi.", "Shell.", "WScript.", "Scripting.",
                                             "ms-", "AppX"};

const char kWow64Level[] = "Wow6432Node";

enum { kMaxKeyLevels = kPathSize / 2 };

// The levels of a key path, each a zero-ended name in text, a copy of it.
struct KeyLevels {
    char text[kPathSize];
    const char* name[kMaxKeyLevels];
    int count = 0;
};

// The character after p in codePage (a double-byte character is one).
char* NextCharacter(UINT codePage, char* p)
{
    return CharNextExA(static_cast<WORD>(codePage), p, 0);
}

// Splits keyPath at its backslashes, "Wow6432Node" levels left out: the 32-bit
// view of a key is judged as the key itself.
void SplitKeyLevels(const char* keyPath, UINT codePage, KeyLevels* levels)
{
    lstrcpynA(levels->text, keyPath, kPathSize);
    char* start = levels->text;
    for (char* p = levels->text;;) {
        const bool end = *p == '\0';
        char* next = end ? p : NextCharacter(codePage, p);
        if (end || (next == p + 1 && *p == '\\')) {
            *p = '\0';
            if (*start && lstrcmpiA(start, kWow64Level) != 0 && levels->count < kMaxKeyLevels)
                levels->name[levels->count++] = start;
            if (end)
                return;
            start = next;
        }
        p = next;
    }
}

template <size_t N>
bool IsListed(const char* name, const char* const (&list)[N])
{
    for (const char* listed : list) {
        if (lstrcmpiA(name, listed) == 0)
            return true;
    }
    return false;
}

bool HasListedPrefix(const char* name)
{
    for (const char* prefix : kWindowsClassPrefixes) {
        if (_strnicmp(name, prefix, strlen(prefix)) == 0)
            return true;
    }
    return false;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in hexadecimal digits.
bool IsGuidName(const char* name)
{
    static const char kForm[] = "{........-....-....-....-............}";
    for (int i = 0; kForm[i]; ++i) {
        if (kForm[i] == '.' ? !IsHexDigit(name[i]) : name[i] != kForm[i])
            return false;
    }
    return name[sizeof(kForm) - 1] == '\0';
}

// "<ext>file" (exefile, batfile, ...): the file types Windows registers.
bool IsFileTypeName(const char* name)
{
    const int length = lstrlenA(name);
    return length > 4 && strchr(name, '.') == nullptr && lstrcmpiA(name + length - 4, "file") == 0;
}

// Class levels from names[0] on (below HKEY_CLASSES_ROOT or Software\Classes).
bool IsPackageClassKey(const char* const* names, int count)
{
    if (count == 0)
        return false;
    if (IsListed(names[0], kGuidClassKeys))
        return count >= 2 && IsGuidName(names[1]);
    return names[0][0] != '.' && !IsListed(names[0], kWindowsClassKeys) && !HasListedPrefix(names[0]) &&
           !IsFileTypeName(names[0]);
}

bool IsPackageKey(HKEY root, const char* keyPath, UINT codePage)
{
    KeyLevels levels;
    SplitKeyLevels(keyPath, codePage, &levels);
    if (root == HKEY_CLASSES_ROOT)
        return IsPackageClassKey(levels.name, levels.count);
    if (levels.count < 2 || lstrcmpiA(levels.name[0], "Software") != 0)
        return false;
    if (lstrcmpiA(levels.name[1], "Classes") == 0)
        return IsPackageClassKey(levels.name + 2, levels.count - 2);
    return !IsListed(levels.name[1], kWindowsSoftwareKeys);
}

// Cuts doubled and trailing backslashes out of a key path, in place: the
// registry reads "Software\\Vendor\" as "Software\Vendor".
void NormalizeKeyPath(char* keyPath, UINT codePage)
{
    char* out = keyPath;
    bool afterSeparator = true;  // no separator at the start either
    for (char* p = keyPath; *p;) {
        char* next = NextCharacter(codePage, p);
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

}  // namespace

RegEntryVerdict ClassifyRegEntry(const char* entry, UINT codePage, HKEY* root, char* keyPath)
{
    for (const RegistryRoot& candidate : kRegistryRoots) {
        const size_t length = lstrlenA(candidate.name);
        if (strncmp(entry, candidate.name, length) != 0)
            continue;
        // "HKEY_LOCAL_MACHINExSoftware" names no key below the root.
        const char separator = entry[length];
        if (separator != '\\' && separator != '/')
            return RegEntryUnknownRoot;
        *root = candidate.key;
        // A key path that starts with a separator may be read as the root.
        const char* path = entry + length + 1;
        if (path[0] == '\0' || path[0] == '\\')
            return RegEntryNoKeyPath;
        lstrcpynA(keyPath, path, kPathSize);
        NormalizeKeyPath(keyPath, codePage);
        return IsPackageKey(candidate.key, keyPath, codePage) ? RegEntryDeletable : RegEntryNotPackageKey;
    }
    return RegEntryUnknownRoot;
}
