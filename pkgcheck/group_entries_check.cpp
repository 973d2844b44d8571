#include <strsafe.h>

#include "findings.h"
#include "script_checks.h"

namespace {

const wchar_t kGroup[] = L"Group";

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Trims the bytes [start, end) in place: the result starts at the returned
// pointer and ends where the zero was put.
char* Trim(char* start, char* end)
{
    while (start < end && IsWhiteSpace(*start))
        ++start;
    while (end > start && IsWhiteSpace(end[-1]))
        --end;
    *end = '\0';
    return start;
}

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
    bool bad = !name[0];
    for (const wchar_t* c = name; *c; ++c)
        bad |= IsBadNameCharacter(*c);
    if (bad)
        ReportEntry(entry, SeverityError, L"the shortcut name \"%s\" cannot be a file name", name);
}

void CheckTarget(const GroupEntry& entry, wchar_t* target)
{
    if (target[0] == L' ' || target[0] == L'\t') {
        ReportEntry(entry, SeverityError,
                    L"the target \"%s\" begins with a blank, which install keeps after the install folder", target);
    } else if (IsAbsoluteOrRooted(target)) {
        ReportEntry(entry, SeverityError, L"the target %s is not relative: install puts the install folder before it",
                    target);
    } else {
        NormaliseRelative(target);
        if (!entry.installed.HasFile(target) && !entry.installed.HasFolder(target))
            ReportEntry(entry, SeverityError, L"the target %s is not installed", target);
    }
}

// An absolute icon file, or one installed below the install folder.
void CheckIconFile(const GroupEntry& entry, wchar_t* file)
{
    if (IsAbsoluteOrRooted(file))
        return;
    NormaliseRelative(file);
    if (!entry.installed.HasFile(file))
        ReportEntry(entry, SeverityWarning, L"the icon file %s is not installed: the shortcut gets no icon from it",
                    file);
}

void CheckWorkingDirectory(const GroupEntry& entry, wchar_t* folder)
{
    if (IsAbsoluteOrRooted(folder))
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

// The "?" segments of the target part: icons and working directories.
void CheckSegments(const GroupEntry& entry, char* segment)
{
    while (segment) {
        while (IsWhiteSpace(*segment))
            ++segment;
        char* next = const_cast<char*>(entry.script.FindByte(segment, '?'));
        char* equals = const_cast<char*>(entry.script.FindByte(segment, '='));
        wchar_t text[kValueBytes];
        if (*segment >= '0' && *segment <= '9') {
            // The icon file after "=" runs to the end of the target part.
            if (equals && (!next || equals < next)) {
                entry.script.Decode(Trim(equals + 1, equals + 1 + lstrlenA(equals + 1)), text, kValueBytes);
                CheckIconFile(entry, text);
            }
        } else {
            entry.script.Decode(Trim(segment, next ? next : segment + lstrlenA(segment)), text, kValueBytes);
            CheckWorkingDirectory(entry, text);
        }
        segment = next ? next + 1 : nullptr;
    }
}

// Checks one entry; true when it is the uninstall item.
bool CheckEntry(const ScriptFile& script, const InstalledFiles& installed, unsigned number)
{
    wchar_t key[32];
    FormatNumberKey(key, L"", number);
    char value[kValueBytes];
    script.Read(kGroup, key, value);
    const GroupEntry entry{script, installed, number, script.KeyLine(kGroup, key)};
    char* comma = const_cast<char*>(script.FindByte(value, ','));
    if (!comma) {
        ReportFinding(script.name, entry.line, SeverityError,
                      L"[Group] entry %u has no comma after the shortcut name: install makes no shortcut of it",
                      number);
        return false;
    }
    *comma = '\0';
    wchar_t name[kValueBytes];
    script.Decode(value, name, kValueBytes);
    CheckName(entry, name);

    char* targetPart = comma + 1;
    char* argumentsComma = const_cast<char*>(script.FindByte(targetPart, ','));
    bool uninstallArguments = false;
    if (argumentsComma) {
        *argumentsComma = '\0';
        uninstallArguments = lstrcmpA(Trim(argumentsComma + 1, argumentsComma + 1 + lstrlenA(argumentsComma + 1)),
                                      "/r") == 0;
    }
    char* question = const_cast<char*>(script.FindByte(targetPart, '?'));
    char targetBytes[kValueBytes];
    lstrcpynA(targetBytes, targetPart, question ? static_cast<int>(question - targetPart) + 1 : kValueBytes);
    // Only the end is trimmed: the start follows the install folder.
    char* targetEnd = targetBytes + lstrlenA(targetBytes);
    while (targetEnd > targetBytes && IsWhiteSpace(targetEnd[-1]))
        *--targetEnd = '\0';
    wchar_t target[kValueBytes];
    script.Decode(targetBytes, target, kValueBytes);
    CheckTarget(entry, target);
    CheckSegments(entry, question ? question + 1 : nullptr);
    return uninstallArguments && SamePath(target, L"install.exe");
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
