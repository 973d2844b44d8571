// Entries of a folder walk that are no real files or folders of the tree.
#pragma once

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
