// The start-up yardstick: a program that shows one empty dialog and nothing
// else, ended by IDCANCEL (the benchmark driver posts it).
#include <windows.h>

namespace {

INT_PTR CALLBACK EmptyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// A dialog template without controls, the size of the install wizard's pages.
struct EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    EmptyTemplate dialog = {};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialog.header.cx = 317;
    dialog.header.cy = 193;
    return int(DialogBoxIndirectParamA(instance, &dialog.header, nullptr, EmptyDialogProc, 0));
}
