// The system folder browser behind the destination page's <Browse...>.
#pragma once
#include <windows.h>

// Runs the browser seeded with the folder in the page's edit control editId
// and writes the chosen folder back into it. True when the field was updated.
bool BrowseForDestination(HWND page, int editId);

// Opens the browser's tree on the folder passed as data. Always 0.
int CALLBACK BrowseCallback(HWND browseWindow, UINT message, LPARAM lParam, LPARAM data);
