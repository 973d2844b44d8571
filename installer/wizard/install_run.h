// The install run of the progress page: one step per posted command, so that
// the wizard stays responsive between files.
#pragma once
#include <windows.h>

// Command the progress page posts to itself (wParam) for each step.
enum { kInstallStepCommand = 1 };

// Timer of the progress page that shows the steps the bar is behind by.
const UINT_PTR kProgressTimer = 2;

// Runs step g_installStep on the progress page: 0 prepares (CopyAll list,
// bar range, install folder), then the program, the script, the numbered
// entries and the CopyAll files are copied one per step, and the last step
// makes the shortcuts and the uninstall entry. Then advances the counter and
// posts the next step, or shows the completion on the page.
void RunInstallStep(HWND page);

// Brings the bar up to the steps done (g_installStep) and stops the timer.
void ShowInstallProgress(HWND page);
