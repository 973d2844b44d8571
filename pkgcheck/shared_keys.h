// Registry keys that Windows and other programs share: a package's uninstall
// must never delete them, nor an ancestor of them.
#pragma once
#include <windows.h>

enum RegistryRootName {
    RootCurrentUser,
    RootLocalMachine,
    RootClassesRoot,
};

// path: the key path below the root, backslash-separated.
bool IsSharedKey(RegistryRootName root, const wchar_t* path);
