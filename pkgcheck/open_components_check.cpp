#include <strsafe.h>
#include <wchar.h>

#include "findings.h"
#include "image_exports.h"
#include "program_extensions.h"
#include "script_checks.h"
#include "setup_config_check.h"

namespace {

const wchar_t kInstall[] = L"Install";

const char* const kRegistrationExports[] = {"DllRegisterServer", "DllUnregisterServer"};

// The install.exe of a medium is an i686 program.
const WORD kInstallMachine = IMAGE_FILE_MACHINE_I386;

// The folder part of a relative path ("" for a file at the top).
void FolderOf(const wchar_t* path, wchar_t (&folder)[kValueBytes])
{
    lstrcpynW(folder, path, kValueBytes);
    wchar_t* last = folder;
    for (wchar_t* c = folder; *c; ++c) {
        if (*c == L'\\')
            last = c;
    }
    *last = L'\0';
}

// A name without an extension, as install looks it up: the first of its
// names with a program extension that is installed, into open.
bool FindWithProgramExtension(const InstalledFiles& installed, wchar_t (&open)[kValueBytes])
{
    // A dot that begins the name starts no extension.
    const wchar_t* name = LastComponent(open);
    const wchar_t* dot = wcsrchr(name, L'.');
    if (dot && dot != name)
        return false;
    for (const char* extension : kProgramExtensions) {
        wchar_t candidate[kValueBytes];
        if (SUCCEEDED(StringCchPrintfW(candidate, kValueBytes, L"%s%S", open, extension)) &&
            installed.HasFile(candidate)) {
            StringCchCopyW(open, kValueBytes, candidate);
            return true;
        }
    }
    return false;
}

void CheckOpen(const ScriptFile& script, const PackageFolder& package, const InstalledFiles& installed)
{
    wchar_t open[kValueBytes];
    script.ReadText(kInstall, L"Open", open);
    if (!open[0] || IsAbsoluteOrRooted(open))
        return;
    NormaliseRelative(open);
    const int line = script.KeyLine(kInstall, L"Open");
    if (!installed.HasFile(open) && !FindWithProgramExtension(installed, open)) {
        ReportFinding(script.name, line, SeverityError,
                      L"Open names %s, which is not installed: nothing is opened after the install", open);
        return;
    }
    if (SamePath(LastComponent(open), L"Setup.exe")) {
        wchar_t folder[kValueBytes];
        FolderOf(open, folder);
        CheckInstalledSetup(package, installed, folder, script.name, line);
    }
}

void CheckComponent(const ScriptFile& script, const PackageFolder& package, const InstalledFiles& installed,
                    unsigned number)
{
    wchar_t key[32];
    FormatNumberKey(key, L"RegFiles", number);
    wchar_t component[kValueBytes];
    script.ReadText(kInstall, key, component);
    NormaliseRelative(component);
    const int line = script.KeyLine(kInstall, key);
    const int index = installed.Find(component);
    wchar_t path[kPathChars];
    if (index < 0) {
        ReportFinding(script.name, line, SeverityError,
                      L"%s names %s, which is not installed: it is never registered", key, component);
        return;
    }
    // A missing source has been reported with its [Install] entry.
    if (!package.FindFile(installed.sources.At(index), path) || !path[0])
        return;
    bool found[2];
    WORD machine = 0;
    const ImageExportsRead read = FindImageExports(path, kRegistrationExports, 2, found, &machine);
    if (read != ImageRead) {
        ReportFinding(script.name, line, SeverityError, L"%s names %s, which is no Windows DLL", key, component);
        return;
    }
    for (int i = 0; i < 2; ++i) {
        if (!found[i])
            ReportFinding(script.name, line, SeverityError, L"%s names %s, which does not export %S", key,
                          component, kRegistrationExports[i]);
    }
    // install.exe loads the component into its own process, which cannot
    // take another processor's DLL: it is then passed over without a word.
    if (found[0] && found[1] && machine != kInstallMachine) {
        ReportFinding(script.name, line, SeverityError,
                      L"%s names %s, a DLL that the 32-bit install.exe cannot load (machine 0x%04X): it is never "
                      L"registered, without a message",
                      key, component, machine);
    }
}

}  // namespace

void CheckOpenAndComponents(const ScriptFile& script, const PackageFolder& package, const InstalledFiles& installed)
{
    CheckOpen(script, package, installed);
    const unsigned count = CountListEntries(script, kInstall, L"RegFiles", 0);
    for (unsigned number = 0; number < count; ++number)
        CheckComponent(script, package, installed, number);
}
