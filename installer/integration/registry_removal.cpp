#include "registry_removal.h"

#include "globals.h"
#include "install_script.h"
#include "messages.h"
#include "registry_key.h"
#include "registry_package_keys.h"

namespace {

const char kRegSection[] = "Reg";

// Registry key names hold at most 255 characters.
enum { kKeyNameSize = 256 };

// An empty key path opens the root itself; one that starts with a separator
// may be read as a path from the root, or as the root. Neither is a key that
// a package may have its uninstall remove.
bool IsKeyPathBelowRoot(const char* subKey)
{
    return subKey[0] != '\0' && subKey[0] != '\\';
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
        if (ClassifyRegEntry(entry, CP_ACP, &root, keyPath) == RegEntryDeletable)
            DeleteRegistryTree(root, keyPath);
        else
            ShowMessage(g_hwndOwner, IDS_ABNORMAL_REG_SECTION, nullptr, MB_ICONERROR);
    }
}
