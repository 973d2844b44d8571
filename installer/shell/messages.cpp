#include "messages.h"

#include <stdarg.h>

#include "globals.h"

namespace {

// Results of GetText and FormatText; each call overwrites the previous one.
char g_textBuffer[kCatalogueTextSize];
char g_formatBuffer[kCatalogueTextSize];

// wvsprintfA writes at most kCatalogueTextSize characters into destination;
// a result cut there is kept, terminated even where the platform leaves it open.
void FormatTextList(char* destination, UINT id, va_list arguments)
{
    char pattern[kCatalogueTextSize];
    LoadText(pattern, kCatalogueTextSize, id);
    if (wvsprintfA(destination, pattern, arguments) < 0)
        destination[kCatalogueTextSize - 1] = '\0';
}

}  // namespace

char* LoadText(char* buffer, int size, UINT id)
{
    if (size <= 0)
        return buffer;
    if (LoadStringA(g_hInstance, id, buffer, size) <= 0)
        lstrcpynA(buffer, "?", size);
    return buffer;
}

const char* GetText(UINT id)
{
    return LoadText(g_textBuffer, kCatalogueTextSize, id);
}

const char* FormatText(UINT id, ...)
{
    va_list arguments;
    va_start(arguments, id);
    FormatTextList(g_formatBuffer, id, arguments);
    va_end(arguments);
    return g_formatBuffer;
}

void FormatTextInto(char* destination, UINT id, ...)
{
    va_list arguments;
    va_start(arguments, id);
    FormatTextList(destination, id, arguments);
    va_end(arguments);
}

int ShowMessage(HWND owner, UINT id, const char* caption, UINT style)
{
    return MessageBoxA(owner, GetText(id), caption, style);
}

void CenterWindow(HWND window)
{
    RECT frame;
    if (!GetWindowRect(window, &frame))
        return;
    // Integer division truncates toward zero, also for a window larger than the screen.
    int x = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
