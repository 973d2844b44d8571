#include "progress_page.h"

// The install run is not built yet: the page installs nothing and never marks
// the install done, so the wizard always ends as interrupted.
INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return FALSE;
}
