// Error boxes of the wizard and the install run: a catalogue text with one
// file or folder name filled in, owned by g_hwndOwner, error icon and the
// default caption.
#pragma once
#include <windows.h>

void ShowErrorWith(UINT id, const char* name);
