// The package folder and what the medium lays beside its files: the built
// install.exe, Setup.exe and x64\Setup64.exe, and the files named with
// --built (programs that the vendor's own build makes), at the top.
#pragma once
#include <windows.h>

#include "string_list.h"

const int kPathChars = MAX_PATH;

class PackageFolder {
public:
    // dir without a trailing backslash.
    bool Open(const wchar_t* dir);
    bool AddBuiltFile(const wchar_t* path) { return builtFiles_.Add(path); }

    const wchar_t* Dir() const { return dir_; }

    // Where the medium's copy of a file comes from: the package, a built
    // file, or "" for a program the medium build lays (install.exe,
    // Setup.exe, x64\Setup64.exe) that neither holds. False when the medium
    // does not have the file.
    bool FindFile(const wchar_t* relative, wchar_t (&path)[kPathChars]) const;
    bool HasFile(const wchar_t* relative) const;
    bool HasFolder(const wchar_t* relative) const;

    // Every file the medium holds, relative to its root: the package tree,
    // the built files and the medium programs; false when a folder cannot be
    // listed or a path is too long.
    bool ListMediumFiles(StringList& files) const;

private:
    wchar_t dir_[kPathChars] = {};
    StringList builtFiles_;
};

// The programs every medium gets from the build.
bool IsMediumProgram(const wchar_t* relative);

// A relative path in one form: slashes become backslashes, doubled
// separators and a leading ".\" are dropped.
void NormaliseRelative(wchar_t* path);

// Case-insensitive comparison of whole paths.
bool SamePath(const wchar_t* a, const wchar_t* b);

// What follows the last separator of path.
const wchar_t* LastComponent(const wchar_t* path);

// True when list holds path (compared as SamePath does).
bool ListHoldsPath(const StringList& list, const wchar_t* path);

// Whether text begins with prefix (ASCII case ignored when asked).
bool HasPrefix(const wchar_t* text, const wchar_t* prefix, bool ignoreCase);

// True for "C:...", "\..." and "/...".
bool IsAbsoluteOrRooted(const wchar_t* path);

// True when a component of path is "..".
bool ClimbsOut(const wchar_t* path);
