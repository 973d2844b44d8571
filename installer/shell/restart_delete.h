// Deleting a file at the next start of Windows: the running copy of install
// cannot delete itself.
#pragma once

// Asks the system to delete path at the next restart (MoveFileExA), falling
// back on "wininit.ini". Failures are silent.
void ScheduleDeleteAtRestart(const char* path);

// The fall-back: adds the line "NUL=<short path>" to section "rename" of
// "wininit.ini" in the Windows directory, keeping every line already there.
// Writes nothing when the line is already there, when the section is too
// large to be read whole or to take the line, or when the short form of path
// cannot be obtained (the file is gone, or its path does not fit).
void AddWininitDeleteEntry(const char* path);
