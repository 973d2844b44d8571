// Putting a copy of a file in place so that nothing is lost when the copy
// fails or the process is killed half way: the bytes go to a temporary file
// beside the target, and only a complete copy replaces the target, by a
// rename. Both installers (install and Setup) place their files this way.
#pragma once
#include <windows.h>

// Characters of the longest path the placement works with, terminator included.
const int PLACEMENT_PATH_SIZE = MAX_PATH;

// True when name (a file name or a path) ends like a temporary file of the
// placement ("<file>.~inst"). Such a name is never installed: the next run
// removes a file of that name beside its target as a leftover.
bool IsPlacementName(const wchar_t* name);

// Removes the temporary file that a copy to target, cut short, left beside it.
void RemoveLeftoverCopy(const wchar_t* target);

// Copies source to target through the temporary file. replacing: target exists
// and is to be replaced; otherwise it must not exist. ERROR_SUCCESS, or why
// target was not written, with the old target (if any) unchanged:
// ERROR_SHARING_VIOLATION or ERROR_LOCK_VIOLATION when another program holds
// the target, any other code when the copy failed (a full disk, a missing
// source, a target path too long for the temporary name, ...).
DWORD PlaceFileCopy(const wchar_t* source, const wchar_t* target, bool replacing);
