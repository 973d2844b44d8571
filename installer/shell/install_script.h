// Reading the install script (g_scriptPath) by the rules of the
// private-profile functions: missing keys read as "" or 0, values come back
// trimmed and cut to the buffer. Texts come from the script as it was when
// first read (g_scriptSnapshot).
#pragma once
#include <windows.h>

extern const char kInstallSection[];  // "Install"
extern const char kGroupSection[];    // "Group"

// The value of key in section, "" when missing. Returns its length.
DWORD ReadScriptText(const char* section, const char* key, char* buffer, DWORD size);

// True only when the integer key of section "Install" is exactly 1.
bool ReadScriptFlag(const char* key);

// Number of consecutive non-empty numbered keys "1", "2", ... of section.
// g_entryName serves as scratch.
int CountScriptEntries(const char* section);

// n in decimal, in a shared buffer that the next call overwrites.
const char* CounterKey(unsigned n);
