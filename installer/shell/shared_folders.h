// Folders that other software shares: a package may go below them, but never
// into one of them, and its uninstall never removes one as its own.
#pragma once

// True when folder (with or without trailing separator) is not absolute, is
// a root (also one reached through "." or ".." levels), or is one of the
// well-known shared folders: the Windows and system folders, Program Files
// and Common Files (both on 64-bit Windows), ProgramData, the Users folder,
// the user's profile, and Desktop, Documents, Start Menu and Programs of the
// user and of all users. Compared on the full and long forms, without regard
// to case.
bool IsRootOrSharedFolder(const char* folder);
