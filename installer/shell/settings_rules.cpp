#include "settings_rules.h"

#include <strsafe.h>

#include "path_helpers.h"
#include "text_helpers.h"

namespace {

// Cuts text to at most limit bytes without splitting a double-byte character.
void CutText(char* text, int limit)
{
    char* p = text;
    while (*p) {
        char* next = CharNextA(p);
        if (next - text > limit)
            break;
        p = next;
    }
    *p = '\0';
}

}  // namespace

bool HasRequiredSettings(const char* title, const char* folder)
{
    return title[0] != '\0' && folder[0] != '\0';
}

void DeriveInstallKey(const char* folder, char* installKey)
{
    if (installKey[0] == '\0') {
        char folderName[kPathSize];
        lstrcpynA(folderName, folder, kPathSize);
        char* last = FindLastSeparator(folderName);
        while (last && last[1] == '\0' && IsPathSeparator(*last)) {
            *last = '\0';
            last = FindLastSeparator(folderName);
        }
        lstrcpynA(installKey, PathLastComponent(folderName), kPathSize);
    }
    ReplaceChar(installKey, '/', '_');
    ReplaceChar(installKey, '\\', '_');
}

bool ChooseInstallKey(const char* folder, char* installKey)
{
    DeriveInstallKey(folder, installKey);
    CutText(installKey, kInstallKeyLimit);
    return installKey[0] != '\0';
}

bool ComposeInstallDir(char* installDir, const char* folder)
{
    bool fits;
    if (IsPathSeparator(folder[0])) {
        // Keep the drive (or the share) of the program-files folder.
        char* rootEnd = FindRootEnd(installDir);
        if (HasDrivePrefix(installDir))
            installDir[2] = '\0';
        else if (rootEnd)
            *rootEnd = '\0';
        else
            installDir[0] = '\0';
        fits = SUCCEEDED(StringCchCatA(installDir, kPathSize, folder));
    } else {
        fits = PathAppend(installDir, folder) != nullptr;
    }
    return PathAppend(installDir, "") && fits;
}
