#include "error_box.h"

#include "globals.h"
#include "messages.h"

void ShowErrorWith(UINT id, const char* name)
{
    char text[kCatalogueTextSize];
    FormatTextInto(text, id, name);
    MessageBoxA(g_hwndOwner, text, nullptr, MB_ICONERROR);
}
