#include "restart_delete.h"

#include <windows.h>
#include <string.h>
#include <strsafe.h>

#include "globals.h"

namespace {

const char kWininitFile[] = "wininit.ini";
const char kRenameSection[] = "rename";

// The whole section fits in this many characters: lines separated by a
// zero, the list ended by a second zero.
enum { kSectionSize = 32767 };

}  // namespace

void ScheduleDeleteAtRestart(const char* path)
{
    if (MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        return;
    AddWininitDeleteEntry(path);
}

void AddWininitDeleteEntry(const char* path)
{
    // A cut or missing short path could name another file at the next start.
    char shortPath[kPathSize];
    DWORD shortLength = GetShortPathNameA(path, shortPath, kPathSize);
    if (shortLength == 0 || shortLength >= kPathSize)
        return;
    char entry[4 + kPathSize];
    StringCchPrintfA(entry, ARRAYSIZE(entry), "NUL=%s", shortPath);

    // On the stack: a zero-filled static buffer would be stored in the
    // program file. A section that filled it may have been cut; writing it
    // back would lose its end.
    char section[kSectionSize + 1];
    DWORD length = GetPrivateProfileSectionA(kRenameSection, section, kSectionSize, kWininitFile);
    if (length + 2 >= kSectionSize)
        return;
    if (length == 0) {
        WritePrivateProfileStringA(kRenameSection, "NUL", shortPath, kWininitFile);
        return;
    }

    char* line = section;
    for (; *line; line += lstrlenA(line) + 1) {
        if (strcmp(line, entry) == 0)
            return;
    }
    // The entry, its zero and the list's final zero must fit.
    const size_t entryLength = lstrlenA(entry);
    if ((line - section) + entryLength + 2 > kSectionSize)
        return;
    CopyMemory(line, entry, entryLength + 1);
    line[entryLength + 1] = '\0';
    WritePrivateProfileSectionA(kRenameSection, section, kWininitFile);
}
