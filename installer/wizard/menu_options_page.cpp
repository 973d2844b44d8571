#include "menu_options_page.h"

// The menu choices are not built yet: the page shows its template and leaves
// every message to the property sheet.
INT_PTR CALLBACK MenuOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}
