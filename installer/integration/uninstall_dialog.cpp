#include "uninstall_dialog.h"

#include "globals.h"
#include "messages.h"
#include "uninstall_run.h"

namespace {

const UINT_PTR kRunTimer = 1;
// Gives the user a moment to see what is about to be removed.
const UINT kRunDelayMs = 2000;

void OpenDialog(HWND dialog)
{
    g_hwndOwner = dialog;
    CenterWindow(dialog);
    SetTimer(dialog, kRunTimer, kRunDelayMs, nullptr);
    SetWindowTextA(dialog, FormatText(IDS_UNINSTALL_CAPTION, g_title));
}

void RunOnce(HWND dialog)
{
    KillTimer(dialog, kRunTimer);
    SetForegroundWindow(dialog);
    const char* outcome = RunUninstall() ? FormatText(IDS_UNINSTALL_SUCCEEDED, g_title)
                                         : FormatText(IDS_FILES_LEFT, g_installDir);
    SetDlgItemTextA(dialog, IDC_UNINSTALL_STATUS, outcome);
    HWND finish = GetDlgItem(dialog, IDCANCEL);
    EnableWindow(finish, TRUE);
    SetFocus(finish);
    SetForegroundWindow(dialog);
}

}  // namespace

INT_PTR CALLBACK UninstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenDialog(dialog);
        break;
    case WM_TIMER:
        if (wParam == kRunTimer)
            RunOnce(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            // Closed before the run started: it must not start afterwards.
            KillTimer(dialog, kRunTimer);
            EndDialog(dialog, 1);
        }
        break;
    }
    return FALSE;
}
