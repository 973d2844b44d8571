#include "setup_config_check.h"

#include <strsafe.h>
#include <wchar.h>

#include "findings.h"
#include "setup_codes.h"
#include "setup_config.h"
#include "setup_entry_walk.h"

namespace {

const wchar_t kOsSection[] = L"OS";

struct WindowsKey {
    const wchar_t* key;
    bool is64Bit;
};

// The keys Setup looks up, one per supported Windows.
const WindowsKey kWindowsKeys[] = {
    {L"Win7", false}, {L"Win764", true}, {L"2008R2", true}, {L"Win81", false}, {L"Win8164", true},
    {L"2012R2", true}, {L"Win10", false}, {L"Win1064", true}, {L"2016", true},
};
const int kWindowsKeyCount = ARRAYSIZE(kWindowsKeys);

// The [OS] entry each Windows key selects (its number, 0 for none).
struct OsChoice {
    int entry[kWindowsKeyCount];
};

bool IsWindowsKey(const wchar_t* text)
{
    for (const WindowsKey& key : kWindowsKeys) {
        if (lstrcmpW(key.key, text) == 0)
            return true;
    }
    return false;
}

const wchar_t* TrimBlanks(wchar_t* text)
{
    while (*text == L' ' || *text == L'\t')
        ++text;
    wchar_t* end = text + lstrlenW(text);
    while (end > text && (end[-1] == L' ' || end[-1] == L'\t'))
        *--end = L'\0';
    return text;
}

// The Windows keys that choose entry (every chosen one for entry -1),
// joined.
void ListKeys(const OsChoice& choice, int entry, bool only64Bit, wchar_t (&keys)[160])
{
    keys[0] = L'\0';
    for (int i = 0; i < kWindowsKeyCount; ++i) {
        const bool chosen = entry < 0 ? choice.entry[i] != 0 : choice.entry[i] == entry;
        if (chosen && (!only64Bit || kWindowsKeys[i].is64Bit))
            StringCchPrintfW(keys + lstrlenW(keys), ARRAYSIZE(keys) - lstrlenW(keys), keys[0] ? L", %s" : L"%s",
                             kWindowsKeys[i].key);
    }
}

// The fields of one [OS] list: unknown names and blanks beside commas.
void CheckOsList(const FileLines& lines, const wchar_t* key, const wchar_t* value)
{
    wchar_t list[SETUP_PATH_SIZE];
    StringCchCopyW(list, ARRAYSIZE(list), value);
    wchar_t* context = nullptr;
    for (wchar_t* field = wcstok_s(list, L",", &context); field; field = wcstok_s(nullptr, L",", &context)) {
        if (IsWindowsKey(field))
            continue;
        wchar_t written[SETUP_PATH_SIZE];
        StringCchCopyW(written, ARRAYSIZE(written), field);
        if (IsWindowsKey(TrimBlanks(field)))
            ReportFinding(kSetupConfigName, lines.KeyLine(kOsSection, key), SeverityError,
                          L"[OS] %s: \"%s\" has a blank beside its comma and matches no Windows", key, written);
        else
            ReportFinding(kSetupConfigName, lines.KeyLine(kOsSection, key), SeverityError,
                          L"[OS] %s: \"%s\" is no Windows key (Win7, Win764, 2008R2, Win81, Win8164, 2012R2, Win10, "
                          L"Win1064, 2016)",
                          key, written);
    }
}

// The [OS] section as FindOsEntry reads it; false when no entry can be found
// for any Windows.
bool CheckOsSection(const wchar_t* configPath, const FileLines& lines)
{
    const int count = GetPrivateProfileIntW(kOsSection, L"Entry", 0, configPath);
    if (count <= 0) {
        ReportFinding(kSetupConfigName, lines.KeyLine(kOsSection, L"Entry"), SeverityError,
                      L"[OS] Entry is missing or not a positive number: Setup ends with -17 on every Windows");
        return false;
    }
    bool complete = true;
    wchar_t names[4096];
    const DWORD length = GetPrivateProfileStringW(kOsSection, nullptr, L"", names, ARRAYSIZE(names), configPath);
    names[length < ARRAYSIZE(names) - 1 ? length + 1 : ARRAYSIZE(names) - 1] = L'\0';
    for (int i = 1; i <= count; ++i) {
        wchar_t key[50];
        StringCchPrintfW(key, ARRAYSIZE(key), L"OS%d", i);
        wchar_t value[SETUP_PATH_SIZE];
        if (GetPrivateProfileStringW(kOsSection, key, L"", value, ARRAYSIZE(value), configPath)) {
            CheckOsList(lines, key, value);
            continue;
        }
        ReportFinding(kSetupConfigName, lines.SectionLine(kOsSection), SeverityError,
                      L"[OS] has no %s (Entry=%d): Setup ends with -17 on every Windows", key, count);
        complete = false;
    }
    for (const wchar_t* name = names; name < names + length && *name; name += lstrlenW(name) + 1) {
        if ((name[0] == L'O' || name[0] == L'o') && (name[1] == L'S' || name[1] == L's') && name[2] >= L'1' &&
            name[2] <= L'9' && _wtoi(name + 2) > count)
            ReportFinding(kSetupConfigName, lines.KeyLine(kOsSection, name), SeverityWarning,
                          L"[OS] %s is beyond Entry=%d and never read", name, count);
    }
    return complete;
}

// Which entry FindOsEntry picks for each Windows.
void ChooseEntries(const wchar_t* configPath, OsChoice& choice)
{
    for (int i = 0; i < kWindowsKeyCount; ++i) {
        OsEntryName name;
        choice.entry[i] = FindOsEntry(configPath, kWindowsKeys[i].key, name) ? _wtoi(name.text + 2) : 0;
    }
}

// The Windows for which no entry is found, reported together.
void CheckEveryWindowsChosen(const FileLines& lines, const OsChoice& choice)
{
    wchar_t missing[160];
    ListKeys(choice, 0, false, missing);
    if (missing[0])
        ReportFinding(kSetupConfigName, lines.SectionLine(kOsSection), SeverityWarning,
                      L"no [OS] entry holds %s: Setup ends with -17 there", missing);
}

// Setup's own reading of one entry: 0 or its code.
int ReadEntryCode(const wchar_t* configPath, const wchar_t* entryName, const wchar_t* setupDirectory)
{
    DriverSetup setup(configPath, entryName, setupDirectory);
    return ReadSetupConfig(setup);
}

class MediumFiles : public SetupFiles {
public:
    explicit MediumFiles(const PackageFolder& package) : package_(package) {}
    bool Has(const wchar_t* relative) const override { return package_.HasFile(relative); }

private:
    const PackageFolder& package_;
};

// The installed Setup.exe finds a file when install puts it beside it; one
// that the medium lacks as well is reported with the configuration.
class InstalledSetupFiles : public SetupFiles {
public:
    InstalledSetupFiles(const PackageFolder& package, const InstalledFiles& installed, const wchar_t* folder)
        : package_(package), installed_(installed), folder_(folder)
    {
    }
    bool Has(const wchar_t* relative) const override
    {
        wchar_t path[kPathChars];
        StringCchPrintfW(path, kPathChars, folder_[0] ? L"%s\\%s" : L"%s%s", folder_, relative);
        return installed_.HasFile(path) || !package_.HasFile(relative);
    }

private:
    const PackageFolder& package_;
    const InstalledFiles& installed_;
    const wchar_t* folder_;
};

struct ConfigFile {
    wchar_t path[kPathChars];
    wchar_t setupDirectory[kPathChars];
    FileLines lines;
};

bool OpenConfig(const PackageFolder& package, ConfigFile& config)
{
    StringCchPrintfW(config.path, kPathChars, L"%s\\%s", package.Dir(), kSetupConfigName);
    StringCchPrintfW(config.setupDirectory, kPathChars, L"%s\\", package.Dir());
    return GetFileAttributesW(config.path) != INVALID_FILE_ATTRIBUTES && config.lines.Load(config.path);
}

// Walks every entry that some Windows chooses.
void WalkEntries(const ConfigFile& config, const OsChoice& choice, const SetupFiles& files,
                 const wchar_t* installedFile, int installedLine)
{
    for (int entry = 1; entry <= 99; ++entry) {
        wchar_t keys[160];
        ListKeys(choice, entry, false, keys);
        if (!keys[0])
            continue;
        wchar_t entryName[50];
        StringCchPrintfW(entryName, ARRAYSIZE(entryName), L"OS%d", entry);
        const int code = ReadEntryCode(config.path, entryName, config.setupDirectory);
        const SetupEntryWalk walk{config.path, &config.lines, &files, entryName, keys, code, installedFile,
                                  installedLine};
        if (!WalkSetupEntry(walk) && code != 0 && !installedFile)
            ReportFinding(kSetupConfigName, config.lines.KeyLine(L"DEV_OS1", entryName), SeverityError,
                          L"Setup ends with %d on %s while reading [DEV_OS1] %s", code, keys, entryName);
    }
}

}  // namespace

void CheckSetupConfig(const PackageFolder& package)
{
    ConfigFile config;
    if (!OpenConfig(package, config))
        return;
    if (!CheckOsSection(config.path, config.lines))
        return;
    OsChoice choice;
    ChooseEntries(config.path, choice);
    CheckEveryWindowsChosen(config.lines, choice);
    const MediumFiles files(package);
    WalkEntries(config, choice, files, nullptr, 0);
}

void CheckInstalledSetup(const PackageFolder& package, const InstalledFiles& installed, const wchar_t* folder,
                         const wchar_t* scriptName, int line)
{
    const InstalledSetupFiles files(package, installed, folder);
    ConfigFile config;
    if (!files.Has(kSetupConfigName) || !OpenConfig(package, config)) {
        ReportFinding(scriptName, line, SeverityError,
                      L"Open starts the installed Setup.exe, but TQSetup.ini is not installed beside it: it ends "
                      L"with -4");
        return;
    }
    OsChoice choice;
    ChooseEntries(config.path, choice);
    wchar_t keys64[160];
    ListKeys(choice, -1, true, keys64);
    if (keys64[0] && !files.Has(L"x64\\Setup64.exe"))
        ReportFinding(scriptName, line, SeverityError,
                      L"Open starts the installed Setup.exe, but x64\\Setup64.exe is not installed beside it: it "
                      L"ends with -5 on 64-bit Windows (%s)",
                      keys64);
    WalkEntries(config, choice, files, scriptName, line);
}
