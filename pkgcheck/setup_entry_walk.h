// One [OS] entry of TQSetup.ini followed the way ReadSetupConfig and the
// install step follow it, explaining where Setup stops and which files it
// will not find.
#pragma once
#include <windows.h>

#include "file_lines.h"
#include "package_folder.h"

// Whether a file, relative to Setup's folder, is there when Setup runs.
class SetupFiles {
public:
    virtual bool Has(const wchar_t* relative) const = 0;

protected:
    ~SetupFiles() = default;
};

struct SetupEntryWalk {
    const wchar_t* configPath;
    const FileLines* lines;
    const SetupFiles* files;
    const wchar_t* entryName;  // "OS2"
    const wchar_t* osKeys;     // the Windows this entry serves, "Win10, Win1064"
    int setupCode;             // what ReadSetupConfig returns for the entry
    // Null: findings about the configuration itself, at its lines. Else only
    // missing files, reported at installedFile:installedLine.
    const wchar_t* installedFile;
    int installedLine;
};

// True when a finding tells where Setup stops reading the entry.
bool WalkSetupEntry(const SetupEntryWalk& walk);

// The file name the findings of the configuration carry.
extern const wchar_t kSetupConfigName[];
