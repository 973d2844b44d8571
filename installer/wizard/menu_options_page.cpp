#include "menu_options_page.h"

#include <prsht.h>

#include "globals.h"
#include "menu_groups.h"
#include "messages.h"
#include "page_area.h"
#include "path_helpers.h"
#include "resource_ids.h"

namespace {

// The group goes below the start menu; without it g_menuDir stays. A group
// that leads out of the start menu ("..") keeps the wizard on this page.
INT_PTR OnWizardNext(HWND page)
{
    g_wantStartMenu = IsDlgButtonChecked(page, IDC_START_MENU) == BST_CHECKED;
    g_wantDesktopIcon = IsDlgButtonChecked(page, IDC_DESKTOP_ICON) == BST_CHECKED;
    char group[kPathSize];
    GetDlgItemTextA(page, IDC_GROUP_FOLDER, group, kPathSize);
    char folder[kPathSize];
    if (!ReadStartMenuFolder(folder) || !PathAppend(folder, group))
        return FALSE;
    if (!IsInStartMenu(folder)) {
        char text[kCatalogueTextSize];
        FormatTextInto(text, IDS_MENU_OUTSIDE, group);
        MessageBoxA(page, text, nullptr, MB_ICONERROR);
        SetWindowLongPtrA(page, DWLP_MSGRESULT, -1);
        return TRUE;
    }
    lstrcpynA(g_menuDir, folder, kPathSize);
    return FALSE;
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
        return OnWizardNext(page);
    default:
        return FALSE;
    }
}
