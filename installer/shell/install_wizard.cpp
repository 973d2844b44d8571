#include "install_wizard.h"

#include <commctrl.h>
#include <shellapi.h>

#include "component_list.h"
#include "destination_page.h"
#include "globals.h"
#include "installed_file_lookup.h"
#include "menu_options_page.h"
#include "messages.h"
#include "progress_page.h"

const int kWizardPageTemplates[kWizardPageCount] = {IDD_DESTINATION_PAGE, IDD_MENU_OPTIONS_PAGE, IDD_PROGRESS_PAGE};

void InitWizardPage(PROPSHEETPAGEA* page, int templateId, DLGPROC procedure)
{
    ZeroMemory(page, sizeof(*page));
    page->dwSize = sizeof(*page);
    page->dwFlags = PSP_DEFAULT;
    page->hInstance = g_hInstance;
    page->pszTemplate = MAKEINTRESOURCEA(templateId);
    page->pfnDlgProc = procedure;
}

void RunInstallWizard()
{
    SetCurrentDirectoryA(g_sourceDir);

    // The progress page's template holds a progress bar.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    const DLGPROC procedures[kWizardPageCount] = {DestinationPageProc, MenuOptionsPageProc, ProgressPageProc};
    PROPSHEETPAGEA pages[kWizardPageCount];
    for (int i = 0; i < kWizardPageCount; ++i)
        InitWizardPage(&pages[i], kWizardPageTemplates[i], procedures[i]);
    // A wizard frame takes its caption from the page it shows, on every page
    // change: each page carries "Installation of <title>".
    char caption[kCatalogueTextSize];
    FormatTextInto(caption, IDS_INSTALL_CAPTION, g_title);
    for (PROPSHEETPAGEA& page : pages) {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = caption;
    }

    PROPSHEETHEADERA sheet;
    ZeroMemory(&sheet, sizeof(sheet));
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hInstance = g_hInstance;
    sheet.nPages = ARRAYSIZE(pages);
    sheet.nStartPage = 0;
    sheet.ppsp = pages;
    PropertySheetA(&sheet);

    if (!g_installDone) {
        ShowMessage(nullptr, IDS_INSTALL_INTERRUPTED, g_title, MB_ICONINFORMATION);
        return;
    }
    ShowMessage(nullptr, IDS_INSTALL_COMPLETED, g_title, MB_ICONINFORMATION);
    OpenAfterInstall();
    RegisterComponents();
}

void OpenAfterInstall()
{
    if (g_openAfterInstall[0] == '\0')
        return;
    char file[kPathSize];
    lstrcpynA(file, g_openAfterInstall, kPathSize);
    if (ResolveOpenTarget(file))
        ShellExecuteA(nullptr, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
    else
        MessageBoxA(nullptr, FormatText(IDS_NOT_INSTALLED_FILE, g_openAfterInstall), nullptr, MB_ICONERROR);
}

void RegisterComponents()
{
    // The wizard that owned the run's boxes is gone.
    ProcessScriptComponents(false, nullptr);
}
