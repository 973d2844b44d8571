// An install script held in memory and read with the rules of the
// private-profile functions, so that entry after entry is looked up without
// opening and parsing the file again for every value.
#pragma once
#include <windows.h>

// A line of the file that names a section or a key. Name and value point
// into the snapshot's text, each ending with a zero.
struct ScriptLine {
    const WCHAR* name;
    const WCHAR* value;  // null for a key without "=" (it reads as missing)
    int nameLength;
    bool isSection;
};

struct ScriptSnapshot {
    char path[MAX_PATH];  // the file last asked for; "" before the first
    bool held;            // false: that file is left to the private-profile functions
    WCHAR* text;
    ScriptLine* lines;
    int lineCount;
};

// Makes snapshot hold the file at path, reading it unless it holds it
// already. False when the file is left to the private-profile functions: it
// cannot be read, it has a byte-order mark, or path names no folder (the
// functions look for such a file in the Windows folder).
bool HoldScript(ScriptSnapshot* snapshot, const char* path);

// GetPrivateProfileStringA of section and key with the default "": the same
// text in buffer and the same length returned (*length). False, with
// nothing written, for a section or key name longer than a path.
bool ReadHeldText(const ScriptSnapshot& snapshot, const char* section, const char* key, char* buffer, DWORD size,
                  DWORD* length);
