#include "copy_all.h"

#include <strsafe.h>

#include "file_search.h"
#include "folder_entries.h"
#include "globals.h"

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

}  // namespace

int CollectCopyAllFiles()
{
    g_copyAllCount = 0;
    if (!EnsureCopyAllList())
        return -1;
    return CollectCopyAllFolder(nullptr) ? g_copyAllCount : -1;
}

bool CollectCopyAllFolder(const char* folder)
{
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
        // A relative path that does not fit its slot would be copied under a
        // cut name: the tree is refused like one that is too large.
        char relative[kPathSize];
        if (folder ? FAILED(StringCchPrintfA(relative, kPathSize, "%s\\%s", folder, found.cFileName))
                   : FAILED(StringCchCopyA(relative, kPathSize, found.cFileName)))
            return false;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!CollectCopyAllFolder(relative))
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

bool SelectCopyAllEntry(int n)
{
    StringCchCopyA(g_entryName, kPathSize, g_copyAllList[n]);
    return SUCCEEDED(StringCchPrintfA(g_entryTarget, kPathSize, "%s%s", g_installDir, g_copyAllList[n]));
}
