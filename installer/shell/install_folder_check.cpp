#include "install_folder_check.h"

#include <windows.h>

#include "folder_links.h"
#include "globals.h"
#include "path_helpers.h"
#include "shared_folders.h"
#include "text_helpers.h"

namespace {

// "\\?\" and "\\.\" pass the name to the system as it stands: no full form
// to compare, and device names besides.
bool NamesDeviceNamespace(const char* path)
{
    return IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && (path[2] == '?' || path[2] == '.') &&
           IsPathSeparator(path[3]);
}

// A colon after the drive names a stream of a folder, not a folder.
bool NamesStream(char* path)
{
    return FindChar(HasDrivePrefix(path) ? path + 2 : path, ':') != nullptr;
}

bool IsRoot(char* path)
{
    char withSeparator[kPathSize];
    lstrcpynA(withSeparator, path, kPathSize);
    const char* rootEnd = PathAppend(withSeparator, "") ? FindRootEnd(withSeparator) : nullptr;
    return !rootEnd || rootEnd[1] == '\0';
}

}  // namespace

InstallFolderVerdict CheckInstallFolder(const char* folder)
{
    char path[kPathSize];
    lstrcpynA(path, folder, kPathSize);
    if (!FindRootEnd(path) || NamesDeviceNamespace(path) || NamesStream(path))
        return InstallFolderMalformed;
    // "." and ".." levels may lead to a root: the full form decides.
    PathFullName(path);
    if (IsRoot(path))
        return InstallFolderRoot;
    if (IsSharedFolder(path))
        return InstallFolderShared;
    if (LeadsThroughFolderLink(path))
        return InstallFolderLinked;
    return InstallFolderUsable;
}
