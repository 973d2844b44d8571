// What an install script puts into the install folder: each installed file
// relative to the install folder, with the medium file it is copied from.
#pragma once
#include <windows.h>

#include "string_list.h"

struct InstalledFiles {
    StringList targets;  // relative to the install folder
    StringList sources;  // relative to the medium root, same order

    bool Add(const wchar_t* target, const wchar_t* source);
    // The index of target, or -1.
    int Find(const wchar_t* target) const;
    bool HasFile(const wchar_t* target) const { return Find(target) >= 0; }
    // An installed folder: "" or a folder some installed file lies in.
    bool HasFolder(const wchar_t* folder) const;
};
