#include <strsafe.h>

#include "findings.h"
#include "globals.h"
#include "install_entries.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "program_extensions.h"
#include "script_checks.h"
#include "text_helpers.h"

namespace {

const wchar_t kInstall[] = L"Install";
const int kPathLimit = kPathSize - 1;
const int kCopyAllLimit = 1000;

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

// The target as install resolved it; false when it names no file of its
// folder. relative receives its path below the install folder ("" for one
// below the system or the Windows directory).
bool CheckTarget(const Entry& entry, EntryFolder where, const wchar_t* text, wchar_t (&relative)[kValueBytes])
{
    relative[0] = L'\0';
    if (!g_entryTarget[0]) {
        Report(entry, SeverityError, text,
               L"leaves its folder (with \"..\", a drive or a stream) or makes too long a path: install reports "
               L"that it failed in copying the file");
        return false;
    }
    char folder[kPathSize];
    if (GetEntryFolder(where, folder) && !IsPathBelowFolder(g_entryTarget, folder)) {
        if (text[0])
            Report(entry, SeverityError, text, L"names no file in its folder: install copies onto the folder itself");
        else
            ReportFinding(entry.script.name, entry.line, SeverityError,
                          L"[Install] entry %u has nothing after its comma: install copies onto the install folder "
                          L"itself",
                          entry.number);
        return false;
    }
    if (where == EntryInInstallDir)
        entry.script.RelativeToInstallDir(g_entryTarget, relative);
    return true;
}

// Entry 1 is the target of the title, desktop and Startup shortcuts, and the
// uninstall stops when it cannot remove it: the main program, in the install
// folder.
void CheckMainProgram(const Entry& entry, EntryFolder where)
{
    const char* extension = PathExtension(g_entryTarget);
    if (where == EntryInInstallDir && extension) {
        for (const char* program : kProgramExtensions) {
            if (lstrcmpiA(extension, program) == 0)
                return;
        }
    }
    ReportFinding(entry.script.name, entry.line, SeverityWarning,
                  L"[Install] entry 1 is no program in the install folder: entry 1 is the target of the title, "
                  L"desktop and Startup shortcuts, and the uninstall stops when it cannot remove it; list the main "
                  L"program first");
}

// The text after the comma of an entry as install takes it (the whole value
// without one), and the folder it names.
EntryFolder ReadTargetText(const ScriptFile& script, const char* value, wchar_t (&text)[kValueBytes])
{
    char bytes[kPathSize];
    lstrcpynA(bytes, value, kPathSize);
    char* comma = FindChar(bytes, ',');
    const char* target = comma ? SkipWhiteSpace(comma + 1) : bytes;
    script.Decode(target, text, kValueBytes);
    return comma ? EntryFolderOf(target) : EntryInInstallDir;
}

void CheckEntry(const ScriptFile& script, const PackageFolder& package, unsigned number, InstalledFiles& installed)
{
    wchar_t key[32];
    FormatNumberKey(key, L"", number);
    char value[kValueBytes];
    const int length = script.Read(kInstall, key, value);
    const Entry entry{script, number, script.KeyLine(kInstall, key)};
    if (length > kPathLimit)
        ReportFinding(script.name, entry.line, SeverityWarning,
                      L"[Install] entry %u is %d bytes long: install reads only the first %d", number, length,
                      kPathLimit);
    value[kPathLimit] = '\0';
    const bool hasComma = FindChar(value, ',') != nullptr;
    wchar_t target[kValueBytes];
    const EntryFolder where = ReadTargetText(script, value, target);

    ResolveInstallEntry(static_cast<int>(number));
    wchar_t source[kValueBytes];
    script.Decode(g_entryName, source, kValueBytes);
    NormaliseRelative(source);
    const bool present = CheckSource(entry, package, source);
    wchar_t relative[kValueBytes];
    if (!CheckTarget(entry, where, target, relative))
        return;
    if (number == 1)
        CheckMainProgram(entry, where);
    if (!relative[0])
        return;
    if (hasComma && target[0] && target[1] == L'!')
        Report(entry, SeverityWarning, target,
               L"has a prefix other than S! or W!: install puts the file into the install folder under that name");
    // A missing source is reported once, here; what refers to its target
    // is checked as if it were there.
    if (source[0])
        installed.Add(relative, present ? source : L"");
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
