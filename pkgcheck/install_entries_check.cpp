#include <strsafe.h>

#include "findings.h"
#include "script_checks.h"

namespace {

const wchar_t kInstall[] = L"Install";
const int kPathLimit = 259;
const int kCopyAllLimit = 1000;

// What install calls white space after the comma of an entry.
const char* SkipWhiteSpace(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

struct Entry {
    const ScriptFile& script;
    unsigned number;
    int line;
};

void Report(const Entry& entry, Severity severity, const wchar_t* what, const wchar_t* text)
{
    ReportFinding(entry.script.name, entry.line, severity, L"[Install] entry %u: %s %s", entry.number, what, text);
}

bool CheckSource(const Entry& entry, const PackageFolder& package, const wchar_t* source)
{
    if (!source[0]) {
        ReportFinding(entry.script.name, entry.line, SeverityError, L"[Install] entry %u names no source file",
                      entry.number);
        return false;
    }
    if (IsAbsoluteOrRooted(source)) {
        Report(entry, SeverityWarning, source, L"is not in the package: install copies it from the user's machine");
        return false;
    }
    if (!package.HasFile(source)) {
        Report(entry, SeverityError, source, L"is not in the package");
        return false;
    }
    return true;
}

// A path below the system (S!) or Windows (W!) directory.
void CheckSystemTarget(const Entry& entry, const wchar_t* target)
{
    const wchar_t* path = target + 2;
    if (!path[0])
        Report(entry, SeverityError, target, L"names no file after its prefix");
    else if (IsAbsoluteOrRooted(path) || ClimbsOut(path))
        Report(entry, SeverityError, target, L"must name a path below its folder, without a drive or \"..\"");
}

// The target after the comma, in the install folder; false when it is not
// a file there.
bool CheckFolderTarget(const Entry& entry, const wchar_t* target)
{
    if (!target[0]) {
        ReportFinding(entry.script.name, entry.line, SeverityError,
                      L"[Install] entry %u has nothing after its comma: install copies onto the install folder itself",
                      entry.number);
        return false;
    }
    if (IsAbsoluteOrRooted(target)) {
        Report(entry, SeverityError, target,
               L"is not a path in the install folder: install appends it to the install folder as it stands");
        return false;
    }
    if (ClimbsOut(target)) {
        Report(entry, SeverityError, target, L"climbs out of the install folder with \"..\"");
        return false;
    }
    if (target[1] == L'!')
        Report(entry, SeverityWarning, target,
               L"has a prefix other than S! or W!: install puts the file into the install folder under that name");
    return true;
}

void CheckEntry(const ScriptFile& script, const PackageFolder& package, unsigned number, InstalledFiles& installed)
{
    wchar_t key[32];
    FormatNumberKey(key, L"", number);
    char value[kValueBytes];
    const int length = script.Read(kInstall, key, value);
    const Entry entry{script, number, script.KeyLine(kInstall, key)};
    if (length > kPathLimit) {
        ReportFinding(script.name, entry.line, SeverityError,
                      L"[Install] entry %u is %d bytes long: install reads only the first %d", number, length,
                      kPathLimit);
        return;
    }
    char* comma = const_cast<char*>(script.FindByte(value, ','));
    const char* targetBytes = comma ? SkipWhiteSpace(comma + 1) : value;
    wchar_t target[kValueBytes];
    script.Decode(targetBytes, target, kValueBytes);
    if (comma)
        *comma = '\0';
    wchar_t source[kValueBytes];
    script.Decode(value, source, kValueBytes);
    NormaliseRelative(source);
    const bool present = CheckSource(entry, package, source);

    if (comma && target[0] && target[1] == L'!' && (target[0] == L'S' || target[0] == L's' || target[0] == L'W' ||
                                       target[0] == L'w')) {
        CheckSystemTarget(entry, target);
        return;
    }
    if (comma && !CheckFolderTarget(entry, target))
        return;
    NormaliseRelative(target);
    // A missing source is reported once, here; what refers to its target
    // is checked as if it were there.
    if (source[0])
        installed.Add(comma ? target : source, present ? source : L"");
}

// CopyAll copies the whole medium, or nothing when it holds over 1000 files.
void CollectCopyAll(const ScriptFile& script, const PackageFolder& package, InstalledFiles& installed)
{
    if (script.ReadInt(kInstall, L"CopyAll") != 1)
        return;
    StringList files;
    if (!package.ListMediumFiles(files)) {
        ReportFinding(script.name, script.KeyLine(kInstall, L"CopyAll"), SeverityError,
                      L"CopyAll=1, but the package tree cannot be listed (a path is too long): nothing is copied");
        return;
    }
    if (files.Count() > kCopyAllLimit) {
        ReportFinding(script.name, script.KeyLine(kInstall, L"CopyAll"), SeverityError,
                      L"CopyAll=1, but the medium holds %d files, over %d: install copies none of them",
                      files.Count(), kCopyAllLimit);
        return;
    }
    for (int i = 0; i < files.Count(); ++i)
        installed.Add(files.At(i), files.At(i));
}

}  // namespace

void CheckInstallEntries(const ScriptFile& script, const PackageFolder& package, InstalledFiles& installed)
{
    // The program itself and the script's copy under the program's name.
    installed.Add(L"install.exe", L"install.exe");
    installed.Add(L"install.INF", script.name);
    const unsigned count = CountListEntries(script, kInstall, L"", 1);
    for (unsigned number = 1; number <= count; ++number)
        CheckEntry(script, package, number, installed);
    CollectCopyAll(script, package, installed);
}
