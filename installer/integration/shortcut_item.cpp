#include "shortcut_item.h"

#include <strsafe.h>

#include "install_entries.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "registry_key.h"
#include "text_helpers.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Leading decimal digits, capped well below overflow.
int ParseIconIndex(const char* text)
{
    int index = 0;
    for (; IsDigit(*text) && index < 100000000; ++text)
        index = index * 10 + (*text - '0');
    return index;
}

// An icon file named after "=": absolute as given, else below g_installDir
// (and no icon file at all when it leaves that folder's tree).
void SetIconFile(ShortcutItem* item, const char* text)
{
    char file[kPathSize];
    lstrcpynA(file, text, kPathSize);
    TrimSpaces(file);
    if (FindRootEnd(file)) {
        lstrcpynA(item->iconFile, file, kPathSize);
        return;
    }
    lstrcpynA(item->iconFile, g_installDir, kPathSize);
    item->hasIcon = PathAppend(item->iconFile, file) && IsPathInFolderTree(item->iconFile, g_installDir);
}

// Where the script's own text starts in a target: after the install folder
// it was appended to. The folder may hold a comma itself ("Acme, Inc."),
// which is no argument list.
size_t ScriptTextOffset(const char* target)
{
    size_t n = 0;
    while (g_installDir[n] != '\0' && target[n] == g_installDir[n])
        ++n;
    return g_installDir[n] == '\0' ? n : 0;
}

// Splits the resolved target string into target, arguments, icon and
// working-directory text.
void ParseShortcutTarget(const char* targetString, ShortcutItem* item)
{
    char text[kPathSize];
    lstrcpynA(text, targetString, kPathSize);
    char* scriptText = text + ScriptTextOffset(text);
    char* comma = FindChar(scriptText, ',');
    item->hasArguments = comma != nullptr;
    if (comma) {
        *comma = '\0';
        lstrcpynA(item->arguments, TrimSpaces(comma + 1), kPathSize);
    }
    char* segment = FindChar(scriptText, '?');
    if (segment)
        *segment++ = '\0';
    lstrcpynA(item->target, text, kPathSize);
    TrimSpaces(item->target);

    while (segment) {
        segment = SkipWhiteSpace(segment);
        char* next = FindChar(segment, '?');
        char* equals = FindChar(segment, '=');
        if (IsDigit(*segment)) {
            item->hasIcon = true;
            item->iconIndex = ParseIconIndex(segment);
            // The icon file after "=" runs to the end of the target part,
            // later segments included; those are still walked as segments.
            if (equals && (!next || equals < next))
                SetIconFile(item, equals + 1);
            else
                lstrcpynA(item->iconFile, item->target, kPathSize);
        } else {
            if (next)
                *next = '\0';
            item->hasWorkingText = true;
            lstrcpynA(item->workingText, segment, kPathSize);
            TrimSpaces(item->workingText);
        }
        segment = next ? next + 1 : nullptr;
    }
}

// The folders an [Install] entry may target: a title shortcut made from
// entry 1 points into one of them.
bool IsInInstallTargetFolder(const char* path)
{
    char folder[kPathSize];
    UINT length = GetSystemDirectoryA(folder, kPathSize);
    if (length > 0 && length < kPathSize && IsPathInFolderTree(path, folder))
        return true;
    length = GetWindowsDirectoryA(folder, kPathSize);
    if (length > 0 && length < kPathSize && IsPathInFolderTree(path, folder))
        return true;
    return IsPathInFolderTree(path, g_installDir);
}

// "d!", "m!" (the user's Desktop and Personal folders, not for all-users
// installs) and "w!" (the Windows directory) choose the base folder.
void ChooseBaseFolder(char letter, char* folder)
{
    char base[kPathSize];
    if (letter == 'w') {
        UINT length = GetWindowsDirectoryA(base, kPathSize);
        if (length > 0 && length < kPathSize)
            lstrcpynA(folder, base, kPathSize);
    } else if (!g_commonMenu && (letter == 'd' || letter == 'm')) {
        ReadShellFolder(HKEY_CURRENT_USER, letter == 'd' ? "Desktop" : "Personal", folder);
    }
}

}  // namespace

void ReadShortcutItem(int n, ShortcutItem* item)
{
    *item = ShortcutItem();
    if (n == 0) {
        ResolveInstallEntry(1);
        lstrcpynA(g_entryName, g_title, kPathSize);
    } else {
        ResolveGroupEntry(n);
    }
    lstrcpynA(item->name, g_entryName, kPathSize);
    ParseShortcutTarget(g_entryTarget, item);
    // Cutting at "?" or "," can leave a different folder than the whole
    // target named, so the target is checked as the link will hold it. An
    // icon segment without "=" names the target too.
    if (n == 0 ? IsInInstallTargetFolder(item->target) : IsPathInFolderTree(item->target, g_installDir))
        return;
    if (item->hasIcon && lstrcmpA(item->iconFile, item->target) == 0)
        item->hasIcon = false;
    item->target[0] = '\0';
}

bool IsUninstallItem(const ShortcutItem& item)
{
    char uninstaller[kPathSize];
    return SUCCEEDED(StringCchPrintfA(uninstaller, kPathSize, "%s%s", g_installDir, g_programName)) &&
           item.hasArguments && lstrcmpiA(item.target, uninstaller) == 0 && lstrcmpA(item.arguments, "/r") == 0;
}

void ResolveWorkingDirectory(const char* segmentText, char* folder)
{
    char text[kPathSize];
    lstrcpynA(text, segmentText, kPathSize);
    lstrcpynA(folder, g_installDir, kPathSize);
    char base[kPathSize];
    lstrcpynA(base, g_installDir, kPathSize);
    bool fits = true;
    bool named = false;  // an absolute or rooted path, taken as the script gives it
    if (FindRootEnd(text)) {
        lstrcpynA(folder, text, kPathSize);
        named = true;
    } else if (IsPathSeparator(text[0])) {
        char* rootEnd = FindRootEnd(folder);
        if (rootEnd)
            fits = SUCCEEDED(StringCchCopyA(rootEnd, kPathSize - (rootEnd - folder), text));
        named = true;
    } else if (text[0] != '\0' && text[1] == '!') {
        ChooseBaseFolder(text[0], folder);
        lstrcpynA(base, folder, kPathSize);
        fits = PathAppend(folder, text + 2) != nullptr;
    } else {
        fits = PathAppend(folder, text) != nullptr;
    }
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (fits && (named || IsPathInFolderTree(folder, base)))
        attributes = GetFileAttributesA(PathFullName(folder));
    if (attributes == INVALID_FILE_ATTRIBUTES || attributes == 0)
        lstrcpynA(folder, g_installDir, kPathSize);
}

bool ReadShellFolder(HKEY root, const char* valueName, char* folder)
{
    RegistryKey key;
    char value[kPathSize];
    if (!key.Open(root, kShellFoldersKey, KEY_READ) || !key.ReadString(valueName, value, kPathSize))
        return false;
    lstrcpynA(folder, value, kPathSize);
    return true;
}
