#include "package_check.h"

#include <strsafe.h>

#include "findings.h"
#include "globals.h"
#include "script_checks.h"
#include "setup_config_check.h"

namespace {

struct ScriptName {
    const wchar_t* name;
    UINT codePage;              // 0: the code page of this process
    bool readByOtherLanguages;  // read on a user interface not its own
};

// The plain script first, then the language scripts that it hides.
const ScriptName kScriptNames[] = {
    {L"install.INF", 0, true},
    {L"installE.INF", 1252, true},
    {L"installJ.INF", 932, false},
    {L"installC.INF", 936, false},
};
const int kScriptCount = ARRAYSIZE(kScriptNames);

struct ScriptRun {
    ScriptFile file;
    ScriptIdentity identity;
    bool present;
};

bool OpenScript(const PackageFolder& package, const ScriptName& name, ScriptFile& file)
{
    file.name = name.name;
    file.codePage = name.codePage ? name.codePage : GetACP();
    file.readByOtherLanguages = name.readByOtherLanguages;
    StringCchPrintfW(file.path, kPathChars, L"%s\\%s", package.Dir(), name.name);
    const DWORD attributes = GetFileAttributesW(file.path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           SetAnsiPath(file) && file.lines.Load(file.path);
}

void CheckScript(const PackageFolder& package, ScriptRun& run)
{
    CheckScriptText(run.file);
    CheckScriptSettings(run.file, &run.identity);
    CheckNumberedLists(run.file);
    // A script that install stops at has no entries to judge.
    switch (run.file.SelectForInstallRules()) {
    case ScriptFile::StopsAtSettings:
        break;
    case ScriptFile::InstallDirTooLong:
        ReportFinding(run.file.name, run.file.KeyLine(L"Install", L"Folder"), SeverityError,
                      L"the install folder made of Folder is longer than %d bytes: install cannot copy a file into "
                      L"it",
                      kPathSize - 1);
        break;
    case ScriptFile::Selected: {
        InstalledFiles installed;
        CheckInstallEntries(run.file, package, installed);
        CheckGroupEntries(run.file, installed);
        CheckOpenAndComponents(run.file, package, installed);
        break;
    }
    }
    CheckRegEntries(run.file);
}

// install compares the Title with the display name of its uninstall key
// exactly: a reinstall in another language under the same key is refused.
void CompareTitles(const ScriptRun& run, const ScriptRun& first)
{
    // A missing Title is reported with its script.
    if (!run.identity.title[0] || !first.identity.title[0] || lstrcmpW(run.identity.title, first.identity.title) == 0)
        return;
    ReportFinding(run.file.name, run.file.KeyLine(L"Install", L"Title"), SeverityError,
                  L"the Title %s differs from %s of %s under the same uninstall key %s: after an install in one "
                  L"language, install in the other stops with message 2 (\"The uninstall entry already used by "
                  L"'%s'. Please uninstall it.\")",
                  run.identity.title, first.identity.title, first.file.name, run.identity.installKey,
                  first.identity.title);
}

// The language scripts must name the same uninstall entry.
void CompareLanguageScripts(const ScriptRun* runs)
{
    const ScriptRun* first = nullptr;
    for (int i = 1; i < kScriptCount; ++i) {
        const ScriptRun& run = runs[i];
        // An empty key is reported with its script.
        if (!run.present || !run.identity.installKey[0])
            continue;
        if (!first) {
            first = &run;
            continue;
        }
        if (lstrcmpiW(run.identity.installKey, first->identity.installKey) == 0) {
            CompareTitles(run, *first);
            continue;
        }
        const int line = run.file.KeyLine(L"Install", L"InstallKey");
        if (lstrcmpW(run.identity.title, first->identity.title) == 0)
            ReportFinding(run.file.name, line, SeverityError,
                          L"the uninstall key %s differs from %s of %s while the Titles are the same: an install in "
                          L"the second language is refused with message 2",
                          run.identity.installKey, first->identity.installKey, first->file.name);
        else
            ReportFinding(run.file.name, line, SeverityWarning,
                          L"the uninstall key %s differs from %s of %s: each language registers an entry of its "
                          L"own, so the package can be installed twice",
                          run.identity.installKey, first->identity.installKey, first->file.name);
    }
}

// Which scripts install reads on which user interface.
void CheckScriptChoice(const ScriptRun* runs)
{
    bool languageScripts = false;
    for (int i = 1; i < kScriptCount; ++i) {
        if (!runs[i].present)
            continue;
        languageScripts = true;
        if (runs[0].present)
            ReportFinding(kScriptNames[i].name, 0, SeverityWarning,
                          L"never read: install.INF beside it is read on every language");
    }
    if (!runs[0].present && !languageScripts)
        ReportFinding(kScriptNames[0].name, 0, SeverityError,
                      L"the package has no install script (install.INF, or installE.INF, installJ.INF, "
                      L"installC.INF): install stops with message 1");
    else if (!runs[0].present && !runs[1].present)
        ReportFinding(kScriptNames[1].name, 0, SeverityWarning,
                      L"missing: on a user interface without a script of its own, install falls back to "
                      L"installE.INF and stops with message 1");
}

}  // namespace

void CheckPackage(const PackageFolder& package)
{
    ScriptRun runs[kScriptCount] = {};
    for (int i = 0; i < kScriptCount; ++i)
        runs[i].present = OpenScript(package, kScriptNames[i], runs[i].file);
    CheckScriptChoice(runs);
    for (int i = 0; i < kScriptCount; ++i) {
        if (runs[i].present)
            CheckScript(package, runs[i]);
    }
    CompareLanguageScripts(runs);
    CheckSetupConfig(package);
}
