#include "destination_page.h"

#include <prsht.h>
#include <strsafe.h>

#include "destination_browse.h"
#include "error_box.h"
#include "folder_creation.h"
#include "folder_security.h"
#include "globals.h"
#include "install_folder_check.h"
#include "messages.h"
#include "page_area.h"
#include "path_helpers.h"
#include "resource_ids.h"
#include "text_helpers.h"

namespace {

const int kProgressPageIndex = 2;
const DWORD kLowFreeSpaceMB = 100;

// Keeps the wizard on this page.
INT_PTR Stay(HWND page)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, -1);
    return TRUE;
}

INT_PTR RefuseFolder(HWND page, UINT messageId)
{
    ShowMessage(page, messageId, nullptr, MB_ICONERROR);
    return Stay(page);
}

// The message that tells why the folder cannot be the install folder.
INT_PTR RefuseFolderFor(HWND page, InstallFolderVerdict verdict)
{
    switch (verdict) {
    case InstallFolderRoot:
        return RefuseFolder(page, IDS_ROOT_FOLDER);
    case InstallFolderShared:
    case InstallFolderLinked:
        g_hwndOwner = page;
        ShowErrorWith(verdict == InstallFolderShared ? IDS_SHARED_FOLDER : IDS_LINKED_FOLDER, g_installDir);
        return Stay(page);
    default:
        return RefuseFolder(page, IDS_BAD_PATH);
    }
}

// The folder exists or can be made: made once as a test, its last level
// removed again (the levels above stay; the run makes the whole path again).
bool TestCreateFolder(HWND page)
{
    DWORD attributes = GetFileAttributesA(g_installDir);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    g_hwndOwner = page;
    if (!CreateInstallFolderPath(g_installDir))
        return false;
    RemoveDirectoryA(g_installDir);
    return true;
}

bool AcceptLowFreeSpace(HWND page)
{
    DWORD freeMB = GetFreeSpaceMB();
    if (freeMB >= kLowFreeSpaceMB)
        return true;
    return MessageBoxA(page, FormatText(IDS_LOW_DISK_SPACE, freeMB), g_title, MB_YESNO | MB_ICONQUESTION) != IDNO;
}

// The typed folder is kept in its full form: a folder on the current drive
// ("\Soft") then names its drive in the registered command, and the checks
// see the folder that "." and ".." levels lead to. False when it does not fit.
bool StoreFullFolder()
{
    char full[kPathSize];
    DWORD length = GetFullPathNameA(g_installDir, kPathSize, full, nullptr);
    if (length == 0 || length >= kPathSize || !PathAppend(full, ""))
        return false;
    lstrcpynA(g_installDir, full, kPathSize);
    return true;
}

// The program and the script copy (the program's name with extension "INF")
// go straight into the folder: both paths must fit.
bool CanHoldPackage()
{
    char path[kPathSize];
    return SUCCEEDED(StringCchPrintfA(path, kPathSize, "%s%s", g_installDir, g_programName)) &&
           PathSetExtension(path, "INF");
}

INT_PTR OnWizardNext(HWND page)
{
    GetDlgItemTextA(page, IDC_DESTINATION_FOLDER, g_installDir, kPathSize);
    ReplaceChar(g_installDir, '/', '\\');
    // A folder too long to take its trailing separator cannot be used either.
    if (!PathAppend(g_installDir, "") || !FindRootEnd(g_installDir) || !StoreFullFolder())
        return RefuseFolder(page, IDS_BAD_PATH);
    const InstallFolderVerdict verdict = CheckInstallFolder(g_installDir);
    if (verdict != InstallFolderUsable)
        return RefuseFolderFor(page, verdict);
    if (!CanHoldPackage())
        return RefuseFolder(page, IDS_BAD_PATH);

    if (!TestCreateFolder(page) || !AcceptLowFreeSpace(page))
        return Stay(page);
    if (g_resident) {
        // A resident program gets no menu choices: straight to the run.
        SendMessageA(g_hwndSheet, PSM_SETCURSEL, kProgressPageIndex, 0);
        return Stay(page);
    }
    return FALSE;
}

INT_PTR OnNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        FitWizardPage(page);
        PostMessageA(g_hwndSheet, PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
        SetDlgItemTextA(page, IDC_DESTINATION_FOLDER, g_installDir);
        return FALSE;
    case PSN_WIZNEXT:
        return OnWizardNext(page);
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_hwndSheet = GetParent(page);
        CenterWindow(g_hwndSheet);
        SendDlgItemMessageA(page, IDC_DESTINATION_FOLDER, EM_LIMITTEXT, kPathSize - 1, 0);
        SetDlgItemTextA(page, IDC_DESTINATION_PROMPT, FormatText(IDS_DESTINATION_PROMPT, g_title));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_BROWSE)
            BrowseForDestination(page, IDC_DESTINATION_FOLDER);
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    default:
        return FALSE;
    }
}
