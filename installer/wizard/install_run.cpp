#include "install_run.h"

#include <commctrl.h>
#include <prsht.h>

#include "copy_all.h"
#include "error_box.h"
#include "file_copy.h"
#include "folder_security.h"
#include "globals.h"
#include "install_entries.h"
#include "messages.h"
#include "resource_ids.h"
#include "shortcuts.h"
#include "uninstall_entry.h"

namespace {

// Every change of the bar's position repaints it at once, which costs more
// than the copy of a small file: the bar is brought up to date at most this
// often, and by a timer when the run waits in a message box.
const DWORD kProgressPaintMs = 30;

// Number of numbered [Install] entries: g_installCount until step 0 has added
// the CopyAll files to it.
int ScriptEntryCount()
{
    return g_copyAll ? g_installCount - g_copyAllCount : g_installCount;
}

int FinishingStep()
{
    return g_installCount + 3;
}

void PrepareInstall(HWND page)
{
    if (g_copyAll) {
        int collected = CollectCopyAllFiles();
        if (collected >= 1)
            g_installCount += collected;
        else
            g_copyAll = false;
    }
    SendDlgItemMessageA(page, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, FinishingStep()));
    // The destination page removed its test folder again: a folder there now
    // was there before, and may hold files that are not the package's.
    g_installDirExisted = GetFileAttributesA(g_installDir) != INVALID_FILE_ATTRIBUTES;
    // A failure has been reported; every copy creates its own folder again.
    CreateInstallFolderPath(g_installDir);
}

// Steps 1 ... T + 2: the program, the script, the numbered entries, then the
// CopyAll files. A file that fails has been reported and the run goes on.
void CopyStepFile(int step)
{
    if (step == 1) {
        ResolveInstallEntry(-1);
        CopyEntryFile(true);
        return;
    }
    int copyAllIndex = step - ScriptEntryCount() - 3;
    if (g_copyAll && copyAllIndex >= 0) {
        if (SelectCopyAllEntry(copyAllIndex))
            CopyEntryFile(true);
        else
            ShowErrorWith(IDS_COPY_FAILED, g_entryName);
        return;
    }
    ResolveInstallEntry(step - 2);
    CopyEntryFile(false);
}

void FinishInstall()
{
    if (g_resident) {
        ProcessShortcuts(LocationStartup, false);
    } else {
        if (g_wantStartMenu)
            ProcessShortcuts(LocationProgramMenu, false);
        if (g_wantDesktopIcon)
            ProcessShortcuts(LocationDesktop, false);
    }
    ResolveInstallEntry(-1);
    WriteUninstallEntry(g_entryTarget);
}

void AdvanceProgress(HWND page)
{
    if (GetTickCount() - g_progressShownTick >= kProgressPaintMs) {
        ShowInstallProgress(page);
    } else if (!g_progressBehind) {
        g_progressBehind = SetTimer(page, kProgressTimer, kProgressPaintMs, nullptr) != 0;
    }
}

void CompleteInstall(HWND page)
{
    ShowInstallProgress(page);
    ShowWindow(GetDlgItem(page, IDC_PROGRESS), SW_HIDE);
    SetDlgItemTextA(page, IDC_INSTALL_STATUS, GetText(IDS_INSTALL_SUCCEEDED));
    if (g_uninstallMenuName[0] != '\0')
        SetDlgItemTextA(page, IDC_UNINSTALL_HINT, FormatText(IDS_UNINSTALL_MENU_HINT, g_uninstallMenuName));
    g_installDone = true;
    ShowWindow(GetDlgItem(page, IDC_UNINSTALL_HINT), SW_SHOW);
    PostMessageA(g_hwndSheet, PSM_SETWIZBUTTONS, 0, PSWIZB_FINISH);
}

}  // namespace

void RunInstallStep(HWND page)
{
    int step = g_installStep;
    if (step == 0)
        PrepareInstall(page);
    else if (step == FinishingStep())
        FinishInstall();
    else
        CopyStepFile(step);

    // Each step adds one to the bar, shown now or with the next update.
    ++g_installStep;
    if (g_installStep <= FinishingStep()) {
        AdvanceProgress(page);
        PostMessageA(page, WM_COMMAND, kInstallStepCommand, 0);
    } else {
        CompleteInstall(page);
    }
}

void ShowInstallProgress(HWND page)
{
    if (g_progressBehind) {
        KillTimer(page, kProgressTimer);
        g_progressBehind = false;
    }
    HWND bar = GetDlgItem(page, IDC_PROGRESS);
    int shown = int(SendMessageA(bar, PBM_GETPOS, 0, 0));
    if (g_installStep > shown)
        SendMessageA(bar, PBM_DELTAPOS, WPARAM(g_installStep - shown), 0);
    g_progressShownTick = GetTickCount();
}
