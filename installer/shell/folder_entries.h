// Entries of a folder walk that are no real files or folders of the tree, or
// whose names cannot be used as the walk got them.
#pragma once
#include <windows.h>

#include "folder_links.h"

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

// The ANSI functions give a name in the system code page, mapping characters
// it lacks to similar ones ("best fit": U+00A5 becomes "\" in code page 932,
// U+FF0F and U+2215 become "/" in 1252) or to "?". A name that comes back
// holding a separator, a colon or a wildcard, or as "." or "..", names
// another file once joined to its folder: true for such a name.
bool IsChangedListedName(const char* name);

// Tells the user once per walk that names were skipped (message 41, with the
// folder where the first one was met).
class SkippedNameReport {
public:
    explicit SkippedNameReport(HWND owner) : owner_(owner) {}
    void Report(const char* folder);

private:
    HWND owner_;
    bool reported_ = false;
};
