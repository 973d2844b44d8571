// Entries of a folder walk that are no real files or folders of the tree.
#pragma once
#include <windows.h>

// "." and "..": the folder itself and its parent.
inline bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The wizard's walks (menu groups, the CopyAll tree) pass over the dot
// entries and every name that begins with two dots; the removal at uninstall
// does not, so that such files are not left behind.
inline bool IsSkippedByWizardWalk(const char* name)
{
    return IsDotEntry(name) || (name[0] == '.' && name[1] == '.');
}

// A folder link (junction or symbolic link) leads out of the tree: walks never
// enter it. Removing it is not safe either: under Wine that removes the
// (empty) folder behind it instead.
inline bool IsFolderLink(DWORD attributes)
{
    const DWORD link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return (attributes & link) == link;
}
