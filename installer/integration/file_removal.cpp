#include "file_removal.h"

#include <windows.h>
#include <strsafe.h>

#include "file_search.h"
#include "folder_entries.h"
#include "globals.h"
#include "messages.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "uninstall_entry.h"

namespace {

enum LeftoverAction { LeftoverDelete, LeftoverKeep, LeftoverCancel };

// What the whole walk over the install folder decides with.
struct FolderRemoval {
    // "CopyAll" of an install that made its own folder: files nobody listed
    // are the package's. In a folder that was there before, they may be the
    // user's, and are asked for.
    bool deleteUnlisted;
    SkippedNameReport skippedNames;
};

// Help index files are rebuilt by the help viewer and always go; other files
// nobody listed belong to the user unless the script decides for all of them.
LeftoverAction DecideLeftover(char* path, const FolderRemoval& removal)
{
    const char* extension = PathExtension(path);
    if (extension && lstrcmpiA(extension, ".gid") == 0)
        return LeftoverDelete;
    if (g_removeNone)
        return LeftoverKeep;
    if (removal.deleteUnlisted)
        return LeftoverDelete;
    switch (MessageBoxA(g_hwndOwner, FormatText(IDS_DELETE_UNLISTED_FILE, path), g_title,
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return LeftoverDelete;
    case IDCANCEL:
        return LeftoverCancel;
    default:
        return LeftoverKeep;
    }
}

bool RemoveFolderLevel(const char* folder, FolderRemoval& removal);

// Deletes what folder holds. False when anything stays; a subfolder that
// stays or the user's Cancel ends the search at once. An entry whose path
// does not fit, or does not lie below the folder, cannot be deleted through
// it and stays.
bool RemoveFolderContents(const char* folder, FolderRemoval& removal)
{
    char path[kPathSize];
    if (FAILED(StringCchCopyA(path, kPathSize, folder)) || !PathAppend(path, "*.*"))
        return false;
    char* name = PathLastComponent(path);
    const size_t nameRoom = kPathSize - (name - path);
    bool removed = true;
    WIN32_FIND_DATAA found;
    FileSearch search(path, &found);
    if (!search.IsOpen())
        return true;
    do {
        if (IsDotEntry(found.cFileName))
            continue;
        // What lies behind a folder link is not the package's: the link and
        // with it this folder stay. So does an entry whose name changed on
        // its way to this program: it names another file.
        if (IsChangedListedName(found.cFileName)) {
            removal.skippedNames.Report(folder);
            removed = false;
            continue;
        }
        if (IsFolderLink(found.dwFileAttributes)) {
            removed = false;
            continue;
        }
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (FAILED(StringCchCopyA(name, nameRoom, found.cFileName)) || !IsPathBelowFolder(path, folder)) {
            if (isFolder)
                return false;
            removed = false;
            continue;
        }
        // What stays in a subfolder leaves this folder and every folder above
        // it untouched, without further questions.
        if (isFolder) {
            if (!RemoveFolderLevel(path, removal))
                return false;
            continue;
        }
        LeftoverAction action = DecideLeftover(path, removal);
        if (action == LeftoverCancel)
            return false;
        if (action == LeftoverKeep || !RemoveFile(path))
            removed = false;
    } while (search.Next(&found));
    return removed;
}

// folder: without trailing separator, except after a bare drive.
bool RemoveFolderLevel(const char* folder, FolderRemoval& removal)
{
    // Checked as it is entered: a folder listed as a plain one may have been
    // replaced by a link since.
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (IsFolderLink(attributes) || !RemoveFolderContents(folder, removal))
        return false;
    if (!RemoveDirectoryA(folder)) {
        MessageBoxA(g_hwndOwner, FormatText(IDS_DELETE_FOLDER_FAILED, folder), nullptr, MB_ICONERROR);
        return false;
    }
    return true;
}

}  // namespace

bool RemoveFile(const char* path)
{
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return true;
    if (DeleteFileA(path))
        return true;
    MessageBoxA(g_hwndOwner, FormatText(IDS_DELETE_FILE_FAILED, path), nullptr, MB_ICONERROR);
    return false;
}

bool RemoveFolderTree(const char* folder)
{
    // Each level holds its own path buffer and its own search.
    char path[kPathSize];
    if (FAILED(StringCchCopyA(path, kPathSize, folder)))
        return false;
    char* separator = FindLastSeparator(path);
    if (separator && separator[1] == '\0' && separator - path > 2)
        *separator = '\0';
    FolderRemoval removal = {g_copyAll && !InstallFolderExisted(), SkippedNameReport(g_hwndOwner)};
    return RemoveFolderLevel(path, removal);
}
