// Install mode: the three-page wizard and what follows a completed install.
#pragma once
#include <windows.h>
#include <prsht.h>

enum { kWizardPageCount = 3 };

// The wizard's page templates in page order: destination, menu options, run.
extern const int kWizardPageTemplates[kWizardPageCount];

// One wizard page: the template of g_hInstance and its dialog procedure,
// every other field zero.
void InitWizardPage(PROPSHEETPAGEA* page, int templateId, DLGPROC procedure);

// Runs the wizard from g_sourceDir; then message 35, the "Open" program and
// the component registration, or message 36 when the install did not finish.
void RunInstallWizard();

// Starts the program or opens the document that "Open" names (read into
// g_openAfterInstall on <Finish>), by its full path in the install tree or
// as an absolute path (ResolveOpenTarget); a relative name that is not in
// the install tree is reported (message 42) and not opened.
void OpenAfterInstall();

// Registers each existing file named by "RegFiles0", "RegFiles1", ... below
// g_installDir, up to the first missing key (ProcessScriptComponents).
void RegisterComponents();
