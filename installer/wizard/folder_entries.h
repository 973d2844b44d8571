// Entries of a folder walk that are no real files or folders of the tree.
#pragma once

// "." and "..", and any name that begins with two dots.
inline bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '.' || name[1] == '\0');
}
