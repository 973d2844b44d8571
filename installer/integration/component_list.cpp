#include "component_list.h"

#include <strsafe.h>

#include "component_registration.h"
#include "globals.h"
#include "install_script.h"
#include "installed_file_lookup.h"
#include "messages.h"

void ProcessScriptComponents(bool unregister, HWND owner)
{
    for (unsigned i = 0;; ++i) {
        char key[32];
        StringCchPrintfA(key, ARRAYSIZE(key), "RegFiles%u", i);
        char value[kPathSize];
        if (ReadScriptText(kInstallSection, key, value, kPathSize) == 0)
            return;
        char path[kPathSize];
        if (!FormatInstalledPath(value, path))
            MessageBoxA(owner, FormatText(IDS_NOT_INSTALLED_FILE, value), nullptr, MB_ICONERROR);
        else if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            RegisterComponent(path, unregister);
    }
}
