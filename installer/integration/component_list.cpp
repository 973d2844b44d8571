#include "component_list.h"

#include <windows.h>
#include <strsafe.h>

#include "component_registration.h"
#include "globals.h"
#include "install_script.h"

void ProcessScriptComponents(bool unregister)
{
    for (unsigned i = 0;; ++i) {
        char key[32];
        StringCchPrintfA(key, ARRAYSIZE(key), "RegFiles%u", i);
        char value[kPathSize];
        if (ReadScriptText(kInstallSection, key, value, kPathSize) == 0)
            return;
        char path[kPathSize];
        if (SUCCEEDED(StringCchPrintfA(path, kPathSize, "%s%s", g_installDir, value)) &&
            GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            RegisterComponent(path, unregister);
    }
}
