#include "installed_file_lookup.h"

#include <strsafe.h>

#include "globals.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "program_extensions.h"

namespace {

bool IsExistingFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// path with each program extension appended in turn; true at the first that
// names an existing file, which path then holds.
bool FindWithProgramExtension(char* path)
{
    const size_t length = lstrlenA(path);
    for (const char* extension : kProgramExtensions) {
        path[length] = '\0';
        if (SUCCEEDED(StringCchCatA(path, kPathSize, extension)) && IsExistingFile(path))
            return true;
    }
    path[length] = '\0';
    return false;
}

}  // namespace

bool ResolveOpenTarget(char* file)
{
    if (FindRootEnd(file))
        return true;
    char path[kPathSize];
    if (!FormatInstalledPath(file, path))
        return false;
    if (!IsExistingFile(path) && (PathExtension(path) || !FindWithProgramExtension(path)))
        return false;
    lstrcpynA(file, path, kPathSize);
    return true;
}

bool FormatInstalledPath(const char* relative, char* path)
{
    return SUCCEEDED(StringCchPrintfA(path, kPathSize, "%s%s", g_installDir, relative)) &&
           IsPathBelowFolder(path, g_installDir);
}
