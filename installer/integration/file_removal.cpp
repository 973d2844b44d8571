#include "file_removal.h"

#include <windows.h>
#include <strsafe.h>

#include "file_search.h"
#include "folder_entries.h"
#include "globals.h"
#include "messages.h"
#include "path_helpers.h"

namespace {

enum LeftoverAction { LeftoverDelete, LeftoverKeep, LeftoverCancel };

// Help index files are rebuilt by the help viewer and always go; other files
// nobody listed belong to the user unless the script decides for all of them.
LeftoverAction DecideLeftover(char* path)
{
    const char* extension = PathExtension(path);
    if (extension && lstrcmpiA(extension, ".gid") == 0)
        return LeftoverDelete;
    if (g_removeNone)
        return LeftoverKeep;
    if (g_copyAll)
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

// pattern is "<folder>\*.*"; cuts it back to the folder without its trailing
// separator, except after a bare drive.
void StripPatternToFolder(char* pattern)
{
    char* name = PathLastComponent(pattern);
    *name = '\0';
    char* separator = FindLastSeparator(pattern);
    if (separator && separator[1] == '\0' && separator - pattern > 2)
        *separator = '\0';
}

// Deletes what folderPattern ("<folder>\*.*") finds, writing each entry's
// name over the "*.*". False when anything stays; a subfolder that stays or
// the user's Cancel ends the search at once. An entry whose path does not fit
// the buffer cannot be deleted through it and stays.
bool RemoveFolderContents(char* folderPattern)
{
    char* name = PathLastComponent(folderPattern);
    const size_t nameRoom = kPathSize - (name - folderPattern);
    bool removed = true;
    WIN32_FIND_DATAA found;
    FileSearch search(folderPattern, &found);
    if (!search.IsOpen())
        return true;
    do {
        if (IsDotEntry(found.cFileName))
            continue;
        // What lies behind a folder link is not the package's: the link and
        // with it this folder stay.
        if (IsFolderLink(found.dwFileAttributes)) {
            removed = false;
            continue;
        }
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (FAILED(StringCchCopyA(name, nameRoom, found.cFileName))) {
            if (isFolder)
                return false;
            removed = false;
            continue;
        }
        // What stays in a subfolder leaves this folder and every folder above
        // it untouched, without further questions.
        if (isFolder) {
            if (!RemoveFolderTree(folderPattern))
                return false;
            continue;
        }
        LeftoverAction action = DecideLeftover(folderPattern);
        if (action == LeftoverCancel)
            return false;
        if (action == LeftoverKeep || !RemoveFile(folderPattern))
            removed = false;
    } while (search.Next(&found));
    return removed;
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
    if (FAILED(StringCchCopyA(path, kPathSize, folder)) || !PathAppend(path, "*.*"))
        return false;
    if (!RemoveFolderContents(path))
        return false;
    StripPatternToFolder(path);
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && !RemoveDirectoryA(path)) {
        MessageBoxA(g_hwndOwner, FormatText(IDS_DELETE_FOLDER_FAILED, path), nullptr, MB_ICONERROR);
        return false;
    }
    return true;
}
