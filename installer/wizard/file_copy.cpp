#include "file_copy.h"

#include <strsafe.h>

#include "error_box.h"
#include "file_identity.h"
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

}  // namespace

bool CopyEntryFile(bool force)
{
    // An entry whose target path did not fit names no file to copy to.
    if (g_entryTarget[0] == '\0')
        return ReportCopyFailure(ERROR_INVALID_NAME);
    if (!EnsureTargetFolder())
        return false;
    if (!CopyFileA(g_entryName, g_entryTarget, TRUE)) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS)
            return ReportCopyFailure(error);
        // A target that should be replaced and is not counts as failed: in
        // use (18), or a full disk, a folder in its place ... (21). Installing
        // from the install folder itself copies each file onto itself, which
        // the system refuses; that file is installed already.
        if ((force || IsSourceNotOlder(g_entryName, g_entryTarget)) && !CopyFileA(g_entryName, g_entryTarget, FALSE)) {
            error = GetLastError();
            if (!IsSameFile(g_entryName, g_entryTarget))
                return ReportCopyFailure(error);
        }
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
