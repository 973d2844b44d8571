#include "path_containment.h"

#include <windows.h>

#include "globals.h"
#include "path_helpers.h"
#include "text_helpers.h"

namespace {

enum Placement { PlacedOutside, PlacedAtFolder, PlacedBelow };

bool MakeFullPath(const char* path, char* full)
{
    DWORD length = GetFullPathNameA(path, kPathSize, full, nullptr);
    return length > 0 && length < kPathSize;
}

Placement PlacePath(const char* path, const char* folder)
{
    char fullPath[kPathSize];
    char fullFolder[kPathSize];
    if (!MakeFullPath(path, fullPath) || !MakeFullPath(folder, fullFolder))
        return PlacedOutside;
    // "C:\dir\" and "C:\dir" are the same folder; a root keeps its separator.
    char* last = FindLastSeparator(fullFolder);
    const bool isRoot = last && last == FindRootEnd(fullFolder) && last[1] == '\0';
    if (last && last[1] == '\0' && IsPathSeparator(*last) && !isRoot)
        *last = '\0';

    const int folderLength = lstrlenA(fullFolder);
    if (lstrlenA(fullPath) < folderLength)
        return PlacedOutside;
    char* below = fullPath + folderLength;
    const char kept = *below;
    *below = '\0';
    const bool samePrefix = lstrcmpiA(fullPath, fullFolder) == 0;
    *below = kept;
    if (!samePrefix || (!isRoot && kept != '\0' && !IsPathSeparator(kept)) || FindChar(below, ':'))
        return PlacedOutside;
    // What follows the folder may be no more than its trailing separator.
    if (IsPathSeparator(*below) && !isRoot)
        ++below;
    return *below == '\0' ? PlacedAtFolder : PlacedBelow;
}

}  // namespace

bool IsPathInFolderTree(const char* path, const char* folder)
{
    return PlacePath(path, folder) != PlacedOutside;
}

bool IsPathBelowFolder(const char* path, const char* folder)
{
    return PlacePath(path, folder) == PlacedBelow;
}
