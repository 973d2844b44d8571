#include "file_copy.h"

#include <strsafe.h>

#include "error_box.h"
#include "file_identity.h"
#include "file_placement.h"
#include "folder_creation.h"
#include "globals.h"
#include "path_helpers.h"
#include "resource_ids.h"

namespace {

bool FindLastWriteTime(const char* path, FILETIME* time)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    *time = found.ftLastWriteTime;
    return true;
}

// The target's folder is created when it is missing; false after the
// failing level has reported itself.
bool EnsureTargetFolder()
{
    char folder[kPathSize];
    lstrcpynA(folder, g_entryTarget, kPathSize);
    *PathLastComponent(folder) = '\0';
    return GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES || CreateFolderPath(folder);
}

bool ReportCopyFailure(DWORD error)
{
    if (error == ERROR_SHARING_VIOLATION)
        ShowErrorWith(IDS_FILE_IN_USE, g_entryTarget);
    else
        ShowErrorWith(IDS_COPY_FAILED, g_entryName);
    return false;
}

// The entry's paths in the form the placement takes; false when a path does
// not convert whole.
bool WidenEntryPaths(wchar_t (&source)[kPathSize], wchar_t (&target)[kPathSize])
{
    return MultiByteToWideChar(CP_ACP, 0, g_entryName, -1, source, kPathSize) > 0 &&
           MultiByteToWideChar(CP_ACP, 0, g_entryTarget, -1, target, kPathSize) > 0;
}

}  // namespace

bool CopyEntryFile(bool force)
{
    wchar_t source[kPathSize];
    wchar_t target[kPathSize];
    // An entry whose target path did not fit names no file to copy to; a
    // target named like a temporary copy would be taken for a leftover.
    if (g_entryTarget[0] == '\0' || !WidenEntryPaths(source, target) || IsPlacementName(target))
        return ReportCopyFailure(ERROR_INVALID_NAME);
    if (!EnsureTargetFolder())
        return false;
    RemoveLeftoverCopy(target);
    if (GetFileAttributesA(g_entryName) == INVALID_FILE_ATTRIBUTES)
        return ReportCopyFailure(GetLastError());
    const bool replacing = GetFileAttributesA(g_entryTarget) != INVALID_FILE_ATTRIBUTES;
    // Installing from the install folder itself finds each file at its
    // target: that file is installed already. A newer target stays unless
    // the run forces the copy.
    const bool keep = replacing && (IsSameFile(g_entryName, g_entryTarget) ||
                                    (!force && !IsSourceNotOlder(g_entryName, g_entryTarget)));
    if (!keep) {
        // A target that should be replaced and is not counts as failed: in
        // use (18), or a full disk, a folder in its place ... (21). The old
        // file stays whole either way.
        const DWORD error = PlaceFileCopy(source, target, replacing);
        if (error != ERROR_SUCCESS)
            return ReportCopyFailure(error);
    }
    SetFileAttributesA(g_entryTarget, FILE_ATTRIBUTE_NORMAL);
    return true;
}

bool IsSourceNotOlder(const char* source, const char* target)
{
    FILETIME sourceTime, targetTime;
    if (!FindLastWriteTime(source, &sourceTime))
        return false;
    if (!FindLastWriteTime(target, &targetTime))
        return true;
    return CompareFileTime(&sourceTime, &targetTime) >= 0;
}

void FormatFileStamp(char* out, size_t outSize, const char* name, const FILETIME& time)
{
    FILETIME local;
    SYSTEMTIME parts;
    char date[200] = "";
    char clock[200] = "";
    if (FileTimeToLocalFileTime(&time, &local) && FileTimeToSystemTime(&local, &parts)) {
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &parts, nullptr, date, sizeof date);
        GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, &parts, nullptr, clock, sizeof clock);
    }
    StringCchPrintfA(out, outSize, "%s %s  %s", date, clock, name);
}
