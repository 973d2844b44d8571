#include "registered_program.h"

#include <strsafe.h>

#include "command_line.h"
#include "globals.h"

bool ReadRegisteredProgram(RegistryKey& entry, char* program)
{
    // The registered command holds a full path, quotes and " /r".
    char command[kCommandLineSize];
    if (!entry.ReadString("UninstallString", command, kCommandLineSize))
        return false;
    return SUCCEEDED(StringCchCopyA(program, kPathSize, CommandLineProgram(command)));
}

bool FindRegisteredProgram(char* program)
{
    char keyPath[kPathSize];
    RegistryKey entry;
    return SUCCEEDED(StringCchPrintfA(keyPath, kPathSize, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s",
                                      g_installKey)) &&
           entry.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ) && ReadRegisteredProgram(entry, program);
}
