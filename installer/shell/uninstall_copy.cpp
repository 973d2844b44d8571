#include "uninstall_copy.h"

#include <windows.h>
#include <strsafe.h>

#include "globals.h"
#include "messages.h"
#include "path_helpers.h"
#include "restart_delete.h"
#include "uninstall_dialog.h"

namespace {

// The folder tree is removed as a whole, so it must be a full path below a
// root: a relative one would stand for the current directory (the system
// directory), a root for a whole drive.
bool IsInstallFolderUsable(char* folder)
{
    const char* rootEnd = FindRootEnd(folder);
    return rootEnd && rootEnd[1] != '\0';
}

// The marker tells that an uninstall is under way; a process that still
// holds it gets a moment to let go.
void DeleteHandOverMarker()
{
    char systemDir[kPathSize];
    char markerPath[kPathSize];
    UINT length = GetSystemDirectoryA(systemDir, kPathSize);
    if (length == 0 || length >= kPathSize ||
        FAILED(StringCchPrintfA(markerPath, kPathSize, "%s\\%s%s", systemDir, g_installKey, ".tmp")))
        return;
    if (!DeleteFileA(markerPath)) {
        Sleep(200);
        DeleteFileA(markerPath);
    }
}

}  // namespace

void RunUninstallCopy()
{
    lstrcpynA(g_installDir, g_sourceDir, kPathSize);
    if (!IsInstallFolderUsable(g_installDir)) {
        ShowMessage(nullptr, IDS_HANDOVER_FAILED, nullptr, MB_ICONERROR);
        return;
    }
    DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_UNINSTALL), nullptr, UninstallDialogProc, 0);
    DeleteHandOverMarker();

    // This copy runs from the system directory and cannot delete itself.
    char ownPath[kPathSize];
    DWORD length = GetModuleFileNameA(g_hInstance, ownPath, kPathSize);
    if (length > 0 && length < kPathSize)
        ScheduleDeleteAtRestart(ownPath);
}
