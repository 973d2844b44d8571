// Folders that Windows and other software share. A package may go below most
// of them, but never into one of them, nor anywhere inside the Windows folder
// or ProgramData\Microsoft; its uninstall never removes one as its own.
// Folders that exist are compared by file identity, so that another spelling
// (short names, "All Users", a second drive letter) is the same folder.
#pragma once

// True when folder (a full path, with or without trailing separator) is the
// Program Files or Common Files folder (both on 64-bit Windows), ProgramData,
// the Users folder, Users\Public or a profile's root, the user's Desktop,
// Documents, Start Menu or Programs or all users' ones, or lies inside the
// Windows folder or ProgramData\Microsoft.
bool IsSharedFolder(const char* folder);

// True when folder lies below a Program Files folder.
bool IsBelowProgramFiles(const char* folder);
