#include "install_script.h"

#include <strsafe.h>

#include "globals.h"

const char kInstallSection[] = "Install";
const char kGroupSection[] = "Group";

DWORD ReadScriptText(const char* section, const char* key, char* buffer, DWORD size)
{
    // Read once and held: the run resolves every entry through here.
    DWORD length = 0;
    if (HoldScript(&g_scriptSnapshot, g_scriptPath) &&
        ReadHeldText(g_scriptSnapshot, section, key, buffer, size, &length))
        return length;
    return GetPrivateProfileStringA(section, key, "", buffer, size, g_scriptPath);
}

bool ReadScriptFlag(const char* key)
{
    return GetPrivateProfileIntA(kInstallSection, key, 0, g_scriptPath) == 1;
}

int CountScriptEntries(const char* section)
{
    int count = 0;
    while (ReadScriptText(section, CounterKey(count + 1), g_entryName, kPathSize) > 0)
        ++count;
    return count;
}

const char* CounterKey(unsigned n)
{
    static char key[16];
    StringCchPrintfA(key, ARRAYSIZE(key), "%u", n);
    return key;
}
