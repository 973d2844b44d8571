// Whether a folder may be the install folder: the destination page asks
// before anything is created, and the uninstall before anything is removed.
#pragma once

enum InstallFolderVerdict {
    InstallFolderUsable,
    InstallFolderMalformed,  // no drive or share, "\\?\" or "\\.\", or a stream
    InstallFolderRoot,       // a root, also one reached through "." or ".."
    InstallFolderShared,     // a folder Windows or other software shares
    InstallFolderLinked,     // the folder or one above it is a folder link
};

// folder: a full path, with or without trailing separator.
InstallFolderVerdict CheckInstallFolder(const char* folder);
