#include "uninstall_copy.h"

#include <windows.h>

#include "globals.h"
#include "install_folder_check.h"
#include "messages.h"
#include "path_helpers.h"
#include "restart_delete.h"
#include "uninstall_dialog.h"
#include "uninstall_marker.h"

namespace {

// A full path with a drive or a share: the hand-over always passes one. A
// relative path would stand for the current directory (the system
// directory), a path from the current drive's root for whatever drive that is.
bool IsFullyQualified(char* path)
{
    return (HasDrivePrefix(path) && IsPathSeparator(path[2])) ||
           (IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && FindRootEnd(path));
}

// The folder tree is removed as a whole: g_installDir becomes the full form
// of the installed program's folder, which must pass the install folder's own
// checks (no root, no shared folder, no folder link on the way).
bool TakeInstallFolder()
{
    if (!IsFullyQualified(g_sourceDir))
        return false;
    char folder[kPathSize];
    DWORD length = GetFullPathNameA(g_sourceDir, kPathSize, folder, nullptr);
    if (length == 0 || length >= kPathSize || !PathAppend(folder, "") ||
        CheckInstallFolder(folder) != InstallFolderUsable)
        return false;
    lstrcpynA(g_installDir, folder, kPathSize);
    return true;
}

// The marker tells that an uninstall is under way; a process that still
// holds it gets a moment to let go.
void DeleteHandOverMarker()
{
    char markerPath[kPathSize];
    if (!FormatMarkerPath(markerPath))
        return;
    if (!DeleteFileA(markerPath)) {
        Sleep(200);
        DeleteFileA(markerPath);
    }
}

}  // namespace

void RunUninstallCopy()
{
    if (TakeInstallFolder())
        DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_UNINSTALL), nullptr, UninstallDialogProc, 0);
    else
        ShowMessage(nullptr, IDS_HANDOVER_FAILED, nullptr, MB_ICONERROR);
    DeleteHandOverMarker();

    // This copy runs from the system directory and cannot delete itself.
    char ownPath[kPathSize];
    DWORD length = GetModuleFileNameA(g_hInstance, ownPath, kPathSize);
    if (length > 0 && length < kPathSize)
        ScheduleDeleteAtRestart(ownPath);
}
