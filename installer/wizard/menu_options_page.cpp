#include "menu_options_page.h"

#include <prsht.h>

#include "globals.h"
#include "menu_groups.h"
#include "page_area.h"
#include "path_helpers.h"
#include "resource_ids.h"

namespace {

void OnWizardNext(HWND page)
{
    g_wantStartMenu = IsDlgButtonChecked(page, IDC_START_MENU) == BST_CHECKED;
    g_wantDesktopIcon = IsDlgButtonChecked(page, IDC_DESKTOP_ICON) == BST_CHECKED;
    GetDlgItemTextA(page, IDC_GROUP_FOLDER, g_entryName, kPathSize);
    // The group goes below the start menu; without it g_menuDir stays.
    char startMenu[kPathSize];
    if (ReadStartMenuFolder(startMenu) && PathAppend(startMenu, g_entryName))
        lstrcpynA(g_menuDir, startMenu, kPathSize);
}

}  // namespace

INT_PTR CALLBACK MenuOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CheckDlgButton(page, IDC_START_MENU, BST_CHECKED);
        FillMenuGroupList(GetDlgItem(page, IDC_GROUP_FOLDER));
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return FALSE;
    switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case PSN_SETACTIVE:
        FitWizardPage(page);
        SendMessageA(g_hwndSheet, PSM_SETWIZBUTTONS, 0, PSWIZB_BACK | PSWIZB_NEXT);
        return FALSE;
    case PSN_WIZNEXT:
        OnWizardNext(page);
        return FALSE;
    default:
        return FALSE;
    }
}
