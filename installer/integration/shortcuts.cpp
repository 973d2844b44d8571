#include "shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <strsafe.h>

#include "com_holders.h"
#include "error_box.h"
#include "folder_creation.h"
#include "globals.h"
#include "install_entries.h"
#include "path_helpers.h"
#include "registry_key.h"
#include "resource_ids.h"
#include "text_helpers.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// One shortcut, parsed from "target{?segment}[,arguments]".
struct ShortcutItem {
    char name[kPathSize];
    char target[kPathSize];
    bool hasArguments;
    char arguments[kPathSize];
    bool hasIcon;
    char iconFile[kPathSize];
    int iconIndex;
    bool hasWorkingText;
    char workingText[kPathSize];
};

bool ReadShellFolder(HKEY root, const char* valueName, char* folder)
{
    RegistryKey key;
    char value[kPathSize];
    if (!key.Open(root, kShellFoldersKey, KEY_READ) || !key.ReadString(valueName, value, kPathSize))
        return false;
    lstrcpynA(folder, value, kPathSize);
    return true;
}

// The location's folder with one trailing separator; false when it is not
// configured or too long.
bool FindShortcutFolder(ShortcutLocation location, char* folder)
{
    if (location == LocationProgramMenu) {
        lstrcpynA(folder, g_menuDir, kPathSize);
    } else {
        const char* value = location == LocationDesktop ? (g_commonMenu ? "Common Desktop" : "Desktop")
                                                        : (g_commonMenu ? "Common Startup" : "Startup");
        if (!ReadShellFolder(g_commonMenu ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, value, folder))
            return false;
    }
    return PathAppend(folder, "") != nullptr;
}

bool FormatLinkPath(char* link, const char* folder, const char* name)
{
    return SUCCEEDED(StringCchPrintfA(link, kPathSize, "%s%s.lnk", folder, name));
}

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

// An icon file named after "=": absolute as given, else below g_installDir.
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
    item->hasIcon = PathAppend(item->iconFile, file) != nullptr;
}

// Splits the resolved target string into target, arguments, icon and
// working-directory text.
void ParseShortcutTarget(const char* targetString, ShortcutItem* item)
{
    char text[kPathSize];
    lstrcpynA(text, targetString, kPathSize);
    char* comma = FindChar(text, ',');
    item->hasArguments = comma != nullptr;
    if (comma) {
        *comma = '\0';
        lstrcpynA(item->arguments, TrimSpaces(comma + 1), kPathSize);
    }
    char* segment = FindChar(text, '?');
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

// The working directory named by a segment: absolute, on the install
// folder's drive, below a chosen base folder or below g_installDir. A folder
// that does not exist (or a path too long) gives g_installDir.
void ResolveWorkingDirectory(const char* segmentText, char* folder)
{
    char text[kPathSize];
    lstrcpynA(text, segmentText, kPathSize);
    lstrcpynA(folder, g_installDir, kPathSize);
    bool fits = true;
    if (FindRootEnd(text)) {
        lstrcpynA(folder, text, kPathSize);
    } else if (IsPathSeparator(text[0])) {
        char* rootEnd = FindRootEnd(folder);
        if (rootEnd)
            fits = SUCCEEDED(StringCchCopyA(rootEnd, kPathSize - (rootEnd - folder), text));
    } else if (text[0] != '\0' && text[1] == '!') {
        ChooseBaseFolder(text[0], folder);
        fits = PathAppend(folder, text + 2) != nullptr;
    } else {
        fits = PathAppend(folder, text) != nullptr;
    }
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (fits)
        attributes = GetFileAttributesA(PathFullName(folder));
    if (attributes == INVALID_FILE_ATTRIBUTES || attributes == 0)
        lstrcpynA(folder, g_installDir, kPathSize);
}

void SaveShortcut(const char* link, const ShortcutItem& item)
{
    ComPointer<IShellLinkA> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shellLink.Receive())))
        return;
    if (item.hasArguments)
        shellLink->SetArguments(item.arguments);
    if (item.hasIcon)
        shellLink->SetIconLocation(item.iconFile, item.iconIndex);
    shellLink->SetPath(item.target);
    shellLink->SetDescription(item.name);

    char workingDir[kPathSize];
    if (item.hasWorkingText)
        ResolveWorkingDirectory(item.workingText, workingDir);
    else
        lstrcpynA(workingDir, g_installDir, kPathSize);
    shellLink->SetWorkingDirectory(workingDir);

    ComPointer<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.Receive())))
        return;
    WCHAR wideLink[kPathSize];
    if (MultiByteToWideChar(CP_ACP, 0, link, -1, wideLink, kPathSize) > 0)
        file->Save(wideLink, TRUE);
}

void CreateShortcuts(ShortcutLocation location, const char* folder)
{
    int count = 1;
    if (location == LocationProgramMenu && g_groupCount > 0) {
        CreateFolderPath(folder);
        count = g_groupCount;
        ResolveGroupEntry(1);
    } else {
        ResolveInstallEntry(1);
        lstrcpynA(g_entryName, g_title, kPathSize);
    }
    char uninstaller[kPathSize];
    bool uninstallerFits = SUCCEEDED(StringCchPrintfA(uninstaller, kPathSize, "%s%s", g_installDir, g_programName));

    ComApartment apartment;
    for (int n = 1; n <= count; ++n) {
        if (n > 1)
            ResolveGroupEntry(n);
        ShortcutItem item = {};
        lstrcpynA(item.name, g_entryName, kPathSize);
        ParseShortcutTarget(g_entryTarget, &item);
        // A target that did not fit its buffer was left empty, and a link
        // must not point nowhere: reported like a file that was not copied.
        if (item.target[0] == '\0') {
            if (item.name[0] != '\0')
                ShowErrorWith(IDS_COPY_FAILED, item.name);
            continue;
        }
        if (uninstallerFits && item.hasArguments && lstrcmpiA(item.target, uninstaller) == 0 &&
            lstrcmpA(item.arguments, "/r") == 0)
            lstrcpynA(g_uninstallMenuName, item.name, kPathSize);
        char link[kPathSize];
        if (FormatLinkPath(link, folder, item.name))
            SaveShortcut(link, item);
    }
}

// Trailing separators go, except the one that ends a root.
void DropTrailingSeparators(char* path)
{
    for (;;) {
        char* last = FindLastSeparator(path);
        if (!last || !IsPathSeparator(*last) || last[1] != '\0' || last == FindRootEnd(path))
            return;
        *last = '\0';
    }
}

// The group folder and each parent that it leaves empty, up to the first
// folder that cannot be removed and never a root.
void RemoveFolderAndEmptyParents(const char* folder)
{
    char path[kPathSize];
    lstrcpynA(path, folder, kPathSize);
    DropTrailingSeparators(path);
    while (RemoveDirectoryA(path)) {
        char* separator = FindLastSeparator(path);
        char* rootEnd = FindRootEnd(path);
        if (!separator || !IsPathSeparator(*separator) || (rootEnd && separator <= rootEnd))
            return;
        *separator = '\0';
        DropTrailingSeparators(path);
    }
}

void RemoveShortcuts(ShortcutLocation location, const char* folder)
{
    char link[kPathSize];
    if (location != LocationProgramMenu || g_groupCount <= 0) {
        if (FormatLinkPath(link, folder, g_title))
            DeleteFileA(link);
        return;
    }
    for (int n = 1; n <= g_groupCount; ++n) {
        ResolveGroupEntry(n);
        if (FormatLinkPath(link, folder, g_entryName))
            DeleteFileA(link);
    }
    RemoveFolderAndEmptyParents(folder);
}

}  // namespace

void ProcessShortcuts(ShortcutLocation location, bool remove)
{
    char folder[kPathSize];
    if (!FindShortcutFolder(location, folder))
        return;
    if (remove)
        RemoveShortcuts(location, folder);
    else
        CreateShortcuts(location, folder);
}
