// Creating the folders of a path one level at a time, and the free space of
// the destination drive. Failures are reported in message boxes owned by
// g_hwndOwner (message 5 for a level that is a file, 6 for one that could not
// be created).
#pragma once
#include <windows.h>

// Creates every missing folder of path, which is expected to end with a
// separator (a last component without one is not created). A path without
// the "X:\" form (network or current-drive paths) is created one level deep
// only. False at the first level that fails; levels made before remain.
// Each folder it creates gets security (null: the default, inherited from
// the folder above).
bool CreateFolderPath(const char* path, SECURITY_ATTRIBUTES* security = nullptr);

// Creates the last folder of path if it is missing; a root is left alone.
bool CreateOneFolder(const char* path, SECURITY_ATTRIBUTES* security = nullptr);

// Free megabytes available to the caller on the drive or share of
// g_installDir; 0 when unknown, 0xFFFFFFFF when it does not fit 32 bits.
DWORD GetFreeSpaceMB();
