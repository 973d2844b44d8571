// Second wizard page (template 110): program-menu and desktop choices.
#pragma once
#include <windows.h>

INT_PTR CALLBACK MenuOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
