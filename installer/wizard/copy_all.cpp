#include "copy_all.h"

#include <strsafe.h>

#include "file_search.h"
#include "folder_entries.h"
#include "globals.h"
#include "path_containment.h"

namespace {

// The list lives for the rest of the process once made: the run reads it
// until its last step.
bool EnsureCopyAllList()
{
    if (!g_copyAllList) {
        g_copyAllList = static_cast<char(*)[kPathSize]>(
            HeapAlloc(GetProcessHeap(), 0, sizeof(*g_copyAllList) * kCopyAllCapacity));
    }
    return g_copyAllList != nullptr;
}

// Adds the files below folder (relative to the current directory; null for
// the top level) and its subfolders. False when the whole collection has to
// be given up.
bool CollectCopyAllFolder(const char* folder, SkippedNameReport& skipped)
{
    // A folder listed as a plain one may have been replaced by a link since.
    if (folder && IsFolderLink(GetFileAttributesA(folder)))
        return true;
    char pattern[kPathSize];
    if (folder ? FAILED(StringCchPrintfA(pattern, kPathSize, "%s\\*.*", folder))
               : FAILED(StringCchCopyA(pattern, kPathSize, "*.*")))
        return false;

    WIN32_FIND_DATAA found;
    FileSearch search(pattern, &found);
    if (!search.IsOpen())
        return true;
    do {
        if (IsSkippedByWizardWalk(found.cFileName) || IsFolderLink(found.dwFileAttributes))
            continue;
        if (IsChangedListedName(found.cFileName)) {
            char source[kPathSize];
            StringCchPrintfA(source, kPathSize, "%s%s", g_sourceDir, folder ? folder : "");
            skipped.Report(source);
            continue;
        }
        // A relative path that does not fit its slot would be copied under a
        // cut name: the tree is refused like one that is too large.
        char relative[kPathSize];
        if (folder ? FAILED(StringCchPrintfA(relative, kPathSize, "%s\\%s", folder, found.cFileName))
                   : FAILED(StringCchCopyA(relative, kPathSize, found.cFileName)))
            return false;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!CollectCopyAllFolder(relative, skipped))
                return false;
        } else {
            if (g_copyAllCount >= kCopyAllCapacity)
                return false;
            StringCchCopyA(g_copyAllList[g_copyAllCount], kPathSize, relative);
            ++g_copyAllCount;
        }
    } while (search.Next(&found));
    return true;
}

}  // namespace

int CollectCopyAllFiles()
{
    g_copyAllCount = 0;
    if (!EnsureCopyAllList())
        return -1;
    SkippedNameReport skipped(g_hwndOwner);
    return CollectCopyAllFolder(nullptr, skipped) ? g_copyAllCount : -1;
}

bool SelectCopyAllEntry(int n)
{
    StringCchCopyA(g_entryName, kPathSize, g_copyAllList[n]);
    if (SUCCEEDED(StringCchPrintfA(g_entryTarget, kPathSize, "%s%s", g_installDir, g_copyAllList[n])) &&
        IsPathBelowFolder(g_entryTarget, g_installDir))
        return true;
    g_entryTarget[0] = '\0';
    return false;
}
