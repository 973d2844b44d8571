// Last wizard page (template 105): the install run with its progress bar.
#pragma once
#include <windows.h>

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
