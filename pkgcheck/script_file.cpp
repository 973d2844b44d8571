#include "script_file.h"

#include <strsafe.h>

#include "globals.h"
#include "install_script.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "settings_rules.h"
#include "text_helpers.h"

namespace {

// A 32-bit install.exe on 64-bit Windows reads this as "ProgramFilesDir".
const char kModelProgramFiles[] = "C:\\Program Files (x86)";

bool ToAnsi(const wchar_t* text, char* bytes, int size)
{
    BOOL lossy = FALSE;
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, bytes, size, nullptr, &lossy) > 0 && !lossy;
}

}  // namespace

bool SetAnsiPath(ScriptFile& script)
{
    if (ToAnsi(script.path, script.ansiPath, kPathChars))
        return true;
    wchar_t shortPath[kPathChars];
    const DWORD length = GetShortPathNameW(script.path, shortPath, kPathChars);
    return length > 0 && length < kPathChars && ToAnsi(shortPath, script.ansiPath, kPathChars);
}

int ScriptFile::Read(const wchar_t* section, const wchar_t* key, char (&value)[kValueBytes]) const
{
    char sectionName[64];
    char keyName[64];
    lstrcpynA(g_scriptPath, ansiPath, kPathSize);
    if (!ToAnsi(section, sectionName, sizeof(sectionName)) || !ToAnsi(key, keyName, sizeof(keyName))) {
        value[0] = '\0';
        return 0;
    }
    return ReadScriptText(sectionName, keyName, value, kValueBytes);
}

int ScriptFile::ReadInt(const wchar_t* section, const wchar_t* key) const
{
    return GetPrivateProfileIntW(section, key, 0, path);
}

ScriptFile::Selection ScriptFile::SelectForInstallRules() const
{
    lstrcpynA(g_scriptPath, ansiPath, kPathSize);
    lstrcpynA(g_programName, "install.exe", kFileNameSize);
    ToAnsi(name, g_scriptName, kFileNameSize);
    char folder[kPathSize];
    ReadScriptText(kInstallSection, "Title", g_title, kTitleSize);
    ReadScriptText(kInstallSection, "Folder", folder, kPathSize);
    ReadScriptText(kInstallSection, "InstallKey", g_installKey, kPathSize);
    if (!HasRequiredSettings(g_title, folder) || !ChooseInstallKey(folder, g_installKey))
        return StopsAtSettings;
    ReplaceChar(folder, '/', '\\');
    lstrcpynA(g_installDir, kModelProgramFiles, kPathSize);
    if (!ComposeInstallDir(g_installDir, folder))
        return InstallDirTooLong;
    g_installCount = CountScriptEntries(kInstallSection);
    g_groupCount = CountScriptEntries(kGroupSection);
    return Selected;
}

bool ScriptFile::RelativeToInstallDir(const char* path, wchar_t (&relative)[kValueBytes]) const
{
    relative[0] = L'\0';
    if (!IsPathBelowFolder(path, g_installDir))
        return false;
    char full[kPathSize];
    lstrcpynA(full, path, kPathSize);
    PathFullName(full);
    char base[kPathSize];
    lstrcpynA(base, g_installDir, kPathSize);
    PathFullName(base);
    const char* below = full + lstrlenA(base);
    if (IsPathSeparator(*below))
        ++below;
    Decode(below, relative, kValueBytes);
    return true;
}

void ScriptFile::Decode(const char* bytes, wchar_t* text, int chars) const
{
    const int length = MultiByteToWideChar(codePage, 0, bytes, -1, text, chars);
    if (length <= 0)
        text[0] = L'\0';
    text[chars - 1] = L'\0';
}

void ScriptFile::ReadText(const wchar_t* section, const wchar_t* key, wchar_t (&text)[kValueBytes]) const
{
    char bytes[kValueBytes];
    Read(section, key, bytes);
    Decode(bytes, text, kValueBytes);
}

void ScriptFile::ReadKeyNames(const wchar_t* section, wchar_t* names, DWORD chars) const
{
    const DWORD length = GetPrivateProfileStringW(section, nullptr, L"", names, chars, path);
    names[length < chars - 1 ? length : chars - 2] = L'\0';
    names[length < chars - 1 ? length + 1 : chars - 1] = L'\0';
}

void FormatNumberKey(wchar_t (&key)[32], const wchar_t* stem, unsigned n)
{
    StringCchPrintfW(key, ARRAYSIZE(key), L"%s%u", stem, n);
}
