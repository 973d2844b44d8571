#include "destination_page.h"

// The folder choice and its checks are not built yet: the page shows its
// template and leaves every message to the property sheet.
INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}
