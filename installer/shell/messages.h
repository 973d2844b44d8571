// Every text install shows comes from its message catalogue, in the language
// of the user interface (the resource loader picks it). These operations
// load, format and show catalogue texts, and centre windows on the screen.
#pragma once
#include <windows.h>
#include "resource_ids.h"

// Catalogue text id into buffer (size characters with the terminator); "?"
// when nothing was loaded: no text for id, or not even its first (possibly
// double-byte) character fits. Returns buffer.
char* LoadText(char* buffer, int size, UINT id);

// Catalogue text id in a process-wide buffer that the next GetText overwrites.
const char* GetText(UINT id);

// Catalogue text id with its %s / %u placeholders filled (wvsprintfA), in a
// process-wide buffer that the next FormatText overwrites.
const char* FormatText(UINT id, ...);

// As FormatText, into destination, which must hold kCatalogueTextSize (1024)
// characters: wvsprintfA writes up to that many.
void FormatTextInto(char* destination, UINT id, ...);

// Message box with catalogue text id; a null caption gives the platform's
// default one. Returns the button that closed the box.
int ShowMessage(HWND owner, UINT id, const char* caption, UINT style);

// Moves window to the centre of the primary screen without resizing it.
void CenterWindow(HWND window);
