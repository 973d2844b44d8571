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

// "Open" names a file relative to the install folder, but the shell looks
// for a relative name beside this program (on the medium) first: a relative
// file that exists below g_installDir becomes its full path. An absolute
// value, or one found only on the search path or elsewhere, stays as given.
void ResolveOpenTarget(char* file);

// Registers each existing file named by "RegFiles0", "RegFiles1", ... below
// g_installDir, up to the first missing key.
void RegisterComponents();
