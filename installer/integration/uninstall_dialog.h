// The uninstall dialog (template 102): runs the removal once, two seconds
// after it opens, reports the outcome and waits for "Finish".
#pragma once
#include <windows.h>

INT_PTR CALLBACK UninstallDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
