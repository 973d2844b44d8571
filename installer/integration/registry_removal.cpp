#include "registry_removal.h"

#include <string.h>

#include "globals.h"
#include "install_script.h"
#include "messages.h"
#include "registry_key.h"
#include "registry_shared_keys.h"

namespace {

const char kRegSection[] = "Reg";

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

// Registry key names hold at most 255 characters.
enum { kKeyNameSize = 256 };

// An empty key path opens the root itself; one that starts with a separator
// may be read as a path from the root, or as the root. Neither is a key that
// a package may have its uninstall remove.
bool IsKeyPathBelowRoot(const char* subKey)
{
    return subKey[0] != '\0' && subKey[0] != '\\';
}

// The root named at the start of entry, and its key path after the one
// separator character, normalized into keyPath (kPathSize). False for an
// unknown root, for a root without a key path (its whole tree must never go)
// and for a key that other software shares.
bool SplitRegEntry(const char* entry, HKEY* root, char* keyPath)
{
    for (const RegistryRoot& candidate : kRegistryRoots) {
        const size_t length = lstrlenA(candidate.name);
        if (strncmp(entry, candidate.name, length) != 0)
            continue;
        if (entry[length] == '\0' || !IsKeyPathBelowRoot(entry + length + 1))
            return false;
        lstrcpynA(keyPath, entry + length + 1, kPathSize);
        NormalizeKeyPath(keyPath);
        *root = candidate.key;
        return !IsSharedRegistryKey(candidate.key, keyPath);
    }
    return false;
}

}  // namespace

void DeleteRegistryTree(HKEY root, const char* subKey)
{
    if (!IsKeyPathBelowRoot(subKey))
        return;
    RegistryKey key;
    if (key.Open(root, subKey, KEY_ALL_ACCESS)) {
        // A deleted subkey's place is taken by the next one, so the index
        // moves on only past a subkey that could not be deleted (it comes
        // back under the same name).
        char previous[kKeyNameSize] = "";
        char name[kKeyNameSize];
        DWORD index = 0;
        while (RegEnumKeyA(key.Handle(), index, name, kKeyNameSize) == ERROR_SUCCESS) {
            if (lstrcmpiA(name, previous) == 0) {
                ++index;
                continue;
            }
            DeleteRegistryTree(key.Handle(), name);
            lstrcpynA(previous, name, kKeyNameSize);
        }
        key.Close();
    }
    RegDeleteKeyA(root, subKey);
}

void RemoveScriptRegistryKeys()
{
    char entry[kPathSize];
    for (unsigned n = 1; ReadScriptText(kRegSection, CounterKey(n), entry, kPathSize) > 0; ++n) {
        HKEY root;
        char keyPath[kPathSize];
        if (SplitRegEntry(entry, &root, keyPath))
            DeleteRegistryTree(root, keyPath);
        else
            ShowMessage(g_hwndOwner, IDS_ABNORMAL_REG_SECTION, nullptr, MB_ICONERROR);
    }
}
