// The program that the package's uninstall entry registers: the installed
// copy of install that "UninstallString" runs with "/r".
#pragma once
#include "registry_key.h"

// The program path of "UninstallString" of the open uninstall entry, into
// program (kPathSize). False when the value is missing or not a string, or
// when its program path does not fit.
bool ReadRegisteredProgram(RegistryKey& entry, char* program);

// The same for the entry of g_installKey below HKEY_LOCAL_MACHINE's
// "...\Uninstall" key; false also when there is no such entry.
bool FindRegisteredProgram(char* program);
