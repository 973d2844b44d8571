// First wizard page (template 100): the destination folder.
#pragma once
#include <windows.h>

INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
