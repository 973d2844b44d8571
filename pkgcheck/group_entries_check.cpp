#include <strsafe.h>

#include "findings.h"
#include "globals.h"
#include "script_checks.h"
#include "shortcut_item.h"
#include "text_helpers.h"

namespace {

const wchar_t kGroup[] = L"Group";

bool IsBadNameCharacter(wchar_t c)
{
    return c < 32 || c == L'\\' || c == L'/' || c == L':' || c == L'*' || c == L'"' || c == L'<' || c == L'>' ||
           c == L'|';
}

struct GroupEntry {
    const ScriptFile& script;
    const InstalledFiles& installed;
    unsigned number;
    int line;
};

void ReportEntry(const GroupEntry& entry, Severity severity, const wchar_t* format, const wchar_t* text)
{
    wchar_t message[kValueBytes + 256];
    StringCchPrintfW(message, ARRAYSIZE(message), format, text);
    ReportFinding(entry.script.name, entry.line, severity, L"[Group] entry %u: %s", entry.number, message);
}

void CheckName(const GroupEntry& entry, const wchar_t* name)
{
    bool bad = false;
    bool named = false;
    for (const wchar_t* c = name; *c; ++c) {
        bad |= IsBadNameCharacter(*c);
        named |= *c != L'\\' && *c != L'/';
    }
    // Separators alone fall away from the link's path: it is ".lnk".
    if (!named)
        ReportEntry(entry, SeverityWarning, L"the shortcut name \"%s\" is empty: install makes a link named \".lnk\"",
                    name);
    else if (bad)
        ReportEntry(entry, SeverityError,
                    L"the shortcut name \"%s\" cannot be a file name: install makes no shortcut of it, without a "
                    L"message",
                    name);
}

// The link's target as install resolved it.
void CheckTarget(const GroupEntry& entry, const ShortcutItem& item, const wchar_t* name)
{
    wchar_t target[kValueBytes];
    if (!item.target[0]) {
        ReportEntry(entry, SeverityError,
                    L"the target of \"%s\" leaves the install folder (with \"..\", a drive or a stream) or makes too "
                    L"long a path: install reports that it failed in copying it and makes no shortcut",
                    name);
    } else if (!entry.script.RelativeToInstallDir(item.target, target)) {
        ReportEntry(entry, SeverityError, L"the target of \"%s\" is the install folder itself, not a file in it",
                    name);
    } else {
        if (target[0] == L' ' || target[0] == L'\t')
            ReportEntry(entry, SeverityWarning,
                        L"the target \"%s\" begins with a blank, which install keeps after the install folder",
                        target);
        if (!entry.installed.HasFile(target) && !entry.installed.HasFolder(target))
            ReportEntry(entry, SeverityError, L"the target %s is not installed", target);
    }
}

// An icon file below the install folder must be installed; one named
// absolutely is the author's.
void CheckIconFile(const GroupEntry& entry, const ShortcutItem& item)
{
    wchar_t file[kValueBytes];
    if (!item.hasIcon || lstrcmpA(item.iconFile, item.target) == 0 ||
        !entry.script.RelativeToInstallDir(item.iconFile, file))
        return;
    if (!entry.installed.HasFile(file))
        ReportEntry(entry, SeverityWarning, L"the icon file %s is not installed: the shortcut gets no icon from it",
                    file);
}

void CheckWorkingDirectory(const GroupEntry& entry, const ShortcutItem& item)
{
    wchar_t folder[kValueBytes];
    entry.script.Decode(item.workingText, folder, kValueBytes);
    if (!item.hasWorkingText || IsAbsoluteOrRooted(folder))
        return;
    if (folder[0] && folder[1] == L'!') {
        if (folder[0] != L'd' && folder[0] != L'm' && folder[0] != L'w')
            ReportEntry(entry, SeverityWarning,
                        L"the working directory %s has a prefix other than d!, m! or w!: install drops it and "
                        L"uses the install folder",
                        folder);
        return;
    }
    NormaliseRelative(folder);
    if (!entry.installed.HasFolder(folder))
        ReportEntry(entry, SeverityWarning,
                    L"the working directory %s is not installed: the shortcut starts in the install folder", folder);
}

// Checks one entry; true when it is the uninstall item.
bool CheckEntry(const ScriptFile& script, const InstalledFiles& installed, unsigned number)
{
    wchar_t key[32];
    FormatNumberKey(key, L"", number);
    char value[kValueBytes];
    script.Read(kGroup, key, value);
    const GroupEntry entry{script, installed, number, script.KeyLine(kGroup, key)};
    value[kPathSize - 1] = '\0';
    if (!FindChar(value, ',')) {
        ReportFinding(script.name, entry.line, SeverityWarning,
                      L"[Group] entry %u has no comma after the shortcut name: install makes no shortcut of it",
                      number);
        return false;
    }
    ShortcutItem item;
    ReadShortcutItem(static_cast<int>(number), &item);
    wchar_t name[kValueBytes];
    script.Decode(item.name, name, kValueBytes);
    CheckName(entry, name);
    CheckTarget(entry, item, name);
    if (!item.target[0])
        return false;
    CheckIconFile(entry, item);
    CheckWorkingDirectory(entry, item);
    return IsUninstallItem(item);
}

}  // namespace

void CheckGroupEntries(const ScriptFile& script, const InstalledFiles& installed)
{
    const unsigned count = CountListEntries(script, kGroup, L"", 1);
    bool uninstallItem = false;
    for (unsigned number = 1; number <= count; ++number)
        uninstallItem |= CheckEntry(script, installed, number);
    if (!uninstallItem)
        ReportFinding(script.name, script.SectionLine(kGroup), SeverityWarning,
                      L"no [Group] entry runs install.exe with /r: the program menu gets no uninstall item");
}
