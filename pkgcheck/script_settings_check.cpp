#include <strsafe.h>

#include "findings.h"
#include "script_checks.h"

namespace {

const wchar_t kInstall[] = L"Install";

// Sizes of install's buffers, less the terminating zero.
const int kTitleLimit = 99;
const int kPathLimit = 259;
const int kInstallKeyLimit = 207;

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

void ReplaceSeparators(wchar_t* text, wchar_t replacement)
{
    for (; *text; ++text) {
        if (IsSeparator(*text))
            *text = replacement;
    }
}

// The uninstall key as install derives it: InstallKey, else the last
// component of Folder; separators become underscores.
void DeriveInstallKey(const wchar_t* installKey, const wchar_t* folder, wchar_t (&key)[kValueBytes])
{
    const wchar_t* source = installKey;
    if (!installKey[0]) {
        source = folder;
        for (const wchar_t* c = folder; *c; ++c) {
            if (IsSeparator(*c))
                source = c + 1;
        }
    }
    StringCchCopyW(key, kValueBytes, source);
    ReplaceSeparators(key, L'_');
}

// A required key: missing or empty stops install with message 1.
bool CheckRequired(const ScriptFile& script, const wchar_t* key, int length)
{
    if (length > 0)
        return true;
    ReportFinding(script.name, script.KeyLine(kInstall, key), SeverityError,
                  L"%s is missing or empty: install stops with message 1 (\"Damaged file, or NO Information file.\")",
                  key);
    return false;
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
        ReplaceSeparators(made, L'\\');
        ReportFinding(script.name, line, SeverityWarning,
                      L"Folder %s is written with slashes: install makes it %s", folder, made);
    }
}

void CheckInstallKey(const ScriptFile& script, const wchar_t* installKey, const wchar_t* folder,
                     const wchar_t* derived)
{
    const int line = script.KeyLine(kInstall, installKey[0] ? L"InstallKey" : L"Folder");
    if (!derived[0]) {
        ReportFinding(script.name, line, SeverityError,
                      L"the uninstall key comes out empty: Folder ends with a separator and there is no InstallKey");
        return;
    }
    char bytes[kValueBytes];
    const int length = WideCharToMultiByte(script.codePage, 0, derived, -1, bytes, kValueBytes, nullptr, nullptr) - 1;
    if (length > kInstallKeyLimit) {
        ReportFinding(script.name, line, SeverityError,
                      L"the uninstall key %s is %d bytes long: it may hold at most %d", derived, length,
                      kInstallKeyLimit);
    } else if (lstrcmpW(installKey[0] ? installKey : derived, derived) != 0) {
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
    char bytes[kValueBytes];
    const int titleLength = script.Read(kInstall, L"Title", bytes);
    script.Decode(bytes, identity->title, kValueBytes);
    const int folderLength = script.Read(kInstall, L"Folder", bytes);
    wchar_t folder[kValueBytes];
    script.Decode(bytes, folder, kValueBytes);
    wchar_t installKey[kValueBytes];
    script.ReadText(kInstall, L"InstallKey", installKey);
    const int menuLength = script.Read(kInstall, L"Menu", bytes);
    wchar_t menu[kValueBytes];
    script.Decode(bytes, menu, kValueBytes);
    DeriveInstallKey(installKey, folder, identity->installKey);

    if (CheckRequired(script, L"Title", titleLength))
        CheckLength(script, L"Title", titleLength, kTitleLimit, SeverityWarning);
    if (CheckRequired(script, L"Folder", folderLength)) {
        CheckLength(script, L"Folder", folderLength, kPathLimit, SeverityError);
        CheckFolder(script, folder);
        CheckInstallKey(script, installKey, folder, identity->installKey);
    }
    CheckLength(script, L"Menu", menuLength, kPathLimit, SeverityError);
    CheckMenu(script, menu);
}
