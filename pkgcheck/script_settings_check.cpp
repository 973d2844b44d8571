#include <strsafe.h>

#include "findings.h"
#include "globals.h"
#include "script_checks.h"
#include "settings_rules.h"

namespace {

const wchar_t kInstall[] = L"Install";

// What install reads of these keys: its buffers less the terminating zero.
const int kTitleLimit = kTitleSize - 1;
const int kPathLimit = kPathSize - 1;

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool HasSlash(const wchar_t* text)
{
    for (; *text; ++text) {
        if (*text == L'/')
            return true;
    }
    return false;
}

void ReplaceSlashes(wchar_t* text)
{
    for (; *text; ++text) {
        if (*text == L'/')
            *text = L'\\';
    }
}

// A required key: missing or empty stops install with message 1.
void CheckRequired(const ScriptFile& script, const wchar_t* key, int length)
{
    if (length > 0)
        return;
    ReportFinding(script.name, script.KeyLine(kInstall, key), SeverityError,
                  L"%s is missing or empty: install stops with message 1 (\"Damaged file, or NO Information file.\")",
                  key);
}

void CheckLength(const ScriptFile& script, const wchar_t* key, int length, int limit, Severity severity)
{
    if (length > limit)
        ReportFinding(script.name, script.KeyLine(kInstall, key), severity,
                      L"%s is %d bytes long: install reads only the first %d", key, length, limit);
}

void CheckFolder(const ScriptFile& script, const wchar_t* folder)
{
    const int line = script.KeyLine(kInstall, L"Folder");
    if (folder[0] && folder[1] == L':') {
        ReportFinding(script.name, line, SeverityError,
                      L"Folder %s names a drive: install appends it to the program-files folder, which gives a "
                      L"path that cannot be made",
                      folder);
    } else if (ClimbsOut(folder)) {
        ReportFinding(script.name, line, SeverityError, L"Folder %s climbs out with \"..\"", folder);
    } else if (HasSlash(folder)) {
        wchar_t made[kValueBytes];
        StringCchCopyW(made, kValueBytes, folder);
        ReplaceSlashes(made);
        ReportFinding(script.name, line, SeverityWarning,
                      L"Folder %s is written with slashes: install makes it %s", folder, made);
    }
}

// The uninstall key as install derives it from the values it reads.
void CheckInstallKey(const ScriptFile& script, const char* installKeyBytes, const char* folderBytes,
                     wchar_t (&derived)[kValueBytes])
{
    const int line = script.KeyLine(kInstall, installKeyBytes[0] ? L"InstallKey" : L"Folder");
    char key[kPathSize];
    lstrcpynA(key, installKeyBytes, kPathSize);
    DeriveInstallKey(folderBytes, key);
    const int length = lstrlenA(key);
    script.Decode(key, derived, kValueBytes);
    if (!ChooseInstallKey(folderBytes, key)) {
        ReportFinding(script.name, line, SeverityError,
                      L"the uninstall key comes out empty: Folder is made of separators only and there is no "
                      L"InstallKey: install stops with message 1 (\"Damaged file, or NO Information file.\")");
        return;
    }
    if (length > kInstallKeyLimit) {
        script.Decode(key, derived, kValueBytes);
        ReportFinding(script.name, line, SeverityWarning,
                      L"the uninstall key is %d bytes long: install cuts it to the first %d, %s", length,
                      kInstallKeyLimit, derived);
    } else if (lstrcmpA(installKeyBytes[0] ? installKeyBytes : key, key) != 0) {
        wchar_t installKey[kValueBytes];
        script.Decode(installKeyBytes, installKey, kValueBytes);
        ReportFinding(script.name, line, SeverityWarning,
                      L"InstallKey %s becomes %s: install turns slashes and backslashes into underscores", installKey,
                      derived);
    }
}

void CheckMenu(const ScriptFile& script, const wchar_t* menu)
{
    const int line = script.KeyLine(kInstall, L"Menu");
    if (IsSeparator(menu[0])) {
        ReportFinding(script.name, line, SeverityWarning,
                      L"Menu %s begins with a separator: the group goes into the Start Menu folder beside Programs, "
                      L"not into Programs",
                      menu);
    } else if (menu[0] == L'A' && menu[1] == L'!') {
        ReportFinding(script.name, line, SeverityWarning,
                      L"Menu %s begins with A!: only a lower-case a! puts the group into Accessories; install makes "
                      L"a group named %s",
                      menu, menu);
    }
}

}  // namespace

void CheckScriptSettings(const ScriptFile& script, ScriptIdentity* identity)
{
    // Read as install reads them, and beyond its buffers to see what they cut.
    char title[kValueBytes];
    char folder[kValueBytes];
    char installKey[kValueBytes];
    char bytes[kValueBytes];
    const int titleLength = script.Read(kInstall, L"Title", title);
    char heldTitle[kTitleSize];
    lstrcpynA(heldTitle, title, kTitleSize);
    script.Decode(heldTitle, identity->title, kValueBytes);
    const int folderLength = script.Read(kInstall, L"Folder", folder);
    wchar_t folderText[kValueBytes];
    script.Decode(folder, folderText, kValueBytes);
    script.Read(kInstall, L"InstallKey", installKey);
    installKey[kPathLimit] = '\0';
    const int menuLength = script.Read(kInstall, L"Menu", bytes);
    wchar_t menu[kValueBytes];
    script.Decode(bytes, menu, kValueBytes);
    identity->installKey[0] = L'\0';

    if (!HasRequiredSettings(title, folder)) {
        CheckRequired(script, L"Title", titleLength);
        CheckRequired(script, L"Folder", folderLength);
    }
    if (titleLength > 0)
        CheckLength(script, L"Title", titleLength, kTitleLimit, SeverityWarning);
    if (folderLength > 0) {
        CheckLength(script, L"Folder", folderLength, kPathLimit, SeverityError);
        CheckFolder(script, folderText);
        folder[kPathLimit] = '\0';
        CheckInstallKey(script, installKey, folder, identity->installKey);
    }
    CheckLength(script, L"Menu", menuLength, kPathLimit, SeverityError);
    CheckMenu(script, menu);
}
