#include "progress_page.h"

#include <prsht.h>

#include "globals.h"
#include "install_run.h"
#include "install_script.h"
#include "page_area.h"

namespace {

const UINT_PTR kStartTimer = 1;
const UINT kStartDelayMs = 300;

INT_PTR OnNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        FitWizardPage(page);
        SendMessageA(g_hwndSheet, PSM_SETWIZBUTTONS, 0, 0);
        SetTimer(page, kStartTimer, kStartDelayMs, nullptr);
        return FALSE;
    case PSN_WIZFINISH:
        // "Open" is relative to the install folder.
        SetCurrentDirectoryA(g_installDir);
        ReadScriptText(kInstallSection, "Open", g_openAfterInstall, kPathSize);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_hwndOwner = page;
        // The run cannot be abandoned once this page exists.
        SendMessageA(GetParent(page), PSM_CANCELTOCLOSE, 0, 0);
        return TRUE;
    case WM_TIMER:
        if (wParam == kProgressTimer) {
            ShowInstallProgress(page);
            return FALSE;
        }
        KillTimer(page, kStartTimer);
        PostMessageA(page, WM_COMMAND, kInstallStepCommand, 0);
        return FALSE;
    case WM_COMMAND:
        // A stray IDOK after completion must not run past the last step.
        if (wParam == kInstallStepCommand && !g_installDone)
            RunInstallStep(page);
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    default:
        return FALSE;
    }
}
