#include "setup_entry_walk.h"

#include <stdlib.h>
#include <strsafe.h>
#include <wchar.h>

#include "findings.h"
#include "setup_codes.h"
#include "setup_config.h"
#include "setup_paths.h"

const wchar_t kSetupConfigName[] = L"TQSetup.ini";

namespace {

const wchar_t kDriverListSection[] = L"DEV_OS1";
const int kFieldChars = SETUP_PATH_SIZE;
// Setup reads a file-list section into 1024 characters; a content of 1022
// or more did not fit.
const DWORD kFileListLimit = 1021;
const DWORD kLongSectionChars = 32768;

class Walker {
public:
    explicit Walker(const SetupEntryWalk& walk) : walk_(walk) {}

    // True when a finding tells where Setup stops reading.
    bool Run();

private:
    bool Structural() const { return walk_.installedFile == nullptr; }
    int KeyLine(const wchar_t* section, const wchar_t* key) const { return walk_.lines->KeyLine(section, key); }
    int SectionLine(const wchar_t* section) const { return walk_.lines->SectionLine(section); }
    bool SectionExists(const wchar_t* section) const;

    // Where Setup stops reading the entry: the code is the reader's own.
    void ReportStop(int line, int code, const wchar_t* format, const wchar_t* a = L"", const wchar_t* b = L"",
                    int number = 0);
    void ReportConfig(int line, Severity severity, const wchar_t* format, const wchar_t* a, const wchar_t* b = L"");
    // A file Setup needs: code 0 means that its absence is not reported. A
    // listed file fails only where its target has no copy yet.
    void CheckFile(const wchar_t* relative, int line, int code, bool listed);

    // The field after "StripFieldPrefix", reported when it differs from
    // what the author wrote after the blank or "1:".
    void ReadPrefixedField(const wchar_t* field, int line, wchar_t (&read)[kFieldChars]);
    bool ReadDriverPackage(StringList& driverList);
    void ReadFileGroups(const wchar_t* dependSection, int line);
    bool ReadFileGroup(const wchar_t* dependSection, int number);
    // The target field: kind, or 0 after a reported stop.
    int ReadTargetKind(const wchar_t* field, int line, wchar_t (&folder)[kFieldChars]);
    void CheckFileList(const wchar_t* section, const StringList& names, const wchar_t* sourceFolder, int kind);
    void CheckKeysBeyondCount(const wchar_t* section, const wchar_t* stem, int count);

    const SetupEntryWalk& walk_;
    bool stopReported_ = false;
};

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool StartsWithFolderPrefix(const wchar_t* field)
{
    return field[0] == L'1' && field[1] == L':';
}

// A folder and a name joined as Setup's JoinPath joins them, relative.
void JoinRelative(wchar_t (&path)[kFieldChars], const wchar_t* folder, const wchar_t* name)
{
    StringCchPrintfW(path, kFieldChars, folder[0] ? L"%s\\%s" : L"%s%s", folder, name);
    NormaliseRelative(path);
}

int InstallStepCode(int kind)
{
    switch (kind) {
    case TargetExplicitDirectory:
        return SetupTargetCopyFailed;
    case TargetSystem:
        return SetupSystemCopyFailed;
    case TargetSystemX86:
        return SetupSystemX86CopyFailed;
    default:
        return 0;
    }
}

bool Walker::SectionExists(const wchar_t* section) const
{
    wchar_t probe[4];
    return GetPrivateProfileSectionW(section, probe, ARRAYSIZE(probe), walk_.configPath) > 0 ||
           SectionLine(section) > 0;
}

void Walker::ReportStop(int line, int code, const wchar_t* format, const wchar_t* a, const wchar_t* b, int number)
{
    if (!Structural() || stopReported_)
        return;
    stopReported_ = true;
    wchar_t text[512];
    StringCchPrintfW(text, ARRAYSIZE(text), format, a, b, number);
    ReportFinding(kSetupConfigName, line, SeverityError, L"%s: Setup ends with %d on %s", text,
                  walk_.setupCode ? walk_.setupCode : code, walk_.osKeys);
}

void Walker::ReportConfig(int line, Severity severity, const wchar_t* format, const wchar_t* a, const wchar_t* b)
{
    if (!Structural())
        return;
    wchar_t text[512];
    StringCchPrintfW(text, ARRAYSIZE(text), format, a, b);
    ReportFinding(kSetupConfigName, line, severity, L"%s", text);
}

void Walker::CheckFile(const wchar_t* relative, int line, int code, bool listed)
{
    if (walk_.files->Has(relative))
        return;
    const Severity severity = code ? SeverityError : SeverityWarning;
    wchar_t outcome[200];
    if (code)
        StringCchPrintfW(outcome, ARRAYSIZE(outcome), L"ends with %d on %s%s", code, walk_.osKeys,
                         listed ? L" (unless the target folder has the file already)" : L"");
    else
        StringCchPrintfW(outcome, ARRAYSIZE(outcome), L"skips it without a message on %s", walk_.osKeys);
    if (Structural())
        ReportFinding(kSetupConfigName, line, severity, L"%s is not in the package: Setup %s", relative, outcome);
    else
        ReportFinding(walk_.installedFile, walk_.installedLine, severity,
                      L"Open starts the installed Setup.exe, but %s is not installed beside it: it %s", relative,
                      outcome);
}

void Walker::ReadPrefixedField(const wchar_t* field, int line, wchar_t (&read)[kFieldChars])
{
    StringCchCopyW(read, kFieldChars, field);
    StripFieldPrefix(read);
    const wchar_t* meant = field;
    while (IsBlank(*meant))
        ++meant;
    if (StartsWithFolderPrefix(meant))
        meant += 2;
    if (lstrcmpW(meant, read) == 0)
        return;
    if (!IsBlank(field[0]) && !StartsWithFolderPrefix(field))
        ReportConfig(line, SeverityError,
                     L"\"%s\" after a comma begins neither with a blank nor with 1:, so Setup reads \"%s\"", field,
                     read);
    else
        ReportConfig(line, SeverityError,
                     L"\"%s\" holds a 1 or a colon after its prefix, so Setup reads \"%s\" (it cuts a field up to the "
                     L"character after its first 1 or colon)",
                     field, read);
}

bool Walker::ReadDriverPackage(StringList& driverList)
{
    const int line = KeyLine(kDriverListSection, walk_.entryName);
    const wchar_t* driverSection = driverList.At(0);
    wchar_t infName[256];
    if (!GetPrivateProfileStringW(driverSection, L"WDMInf", L"", infName, ARRAYSIZE(infName), walk_.configPath)) {
        if (SectionExists(driverSection))
            ReportStop(SectionLine(driverSection), SetupNoInfName, L"[%s] has no WDMInf", driverSection);
        else
            ReportStop(line, SetupNoInfName, L"the driver section [%s] of [DEV_OS1] %s is missing", driverSection,
                       walk_.entryName);
        return false;
    }
    if (driverList.Count() < 2) {
        ReportStop(line, SetupNoDriverList, L"[DEV_OS1] %s names no driver folder after its comma",
                   walk_.entryName);
        return false;
    }
    wchar_t folder[kFieldChars];
    ReadPrefixedField(driverList.At(1), line, folder);
    wchar_t inf[kFieldChars];
    JoinRelative(inf, folder, infName);
    CheckFile(inf, KeyLine(driverSection, L"WDMInf"), SetupDriverStoreFailed, false);
    return true;
}

void Walker::CheckKeysBeyondCount(const wchar_t* section, const wchar_t* stem, int count)
{
    if (!Structural())
        return;
    wchar_t names[4096];
    const DWORD length = GetPrivateProfileStringW(section, nullptr, L"", names, ARRAYSIZE(names), walk_.configPath);
    names[length < ARRAYSIZE(names) - 1 ? length + 1 : ARRAYSIZE(names) - 1] = L'\0';
    const int stemLength = lstrlenW(stem);
    for (const wchar_t* name = names; name < names + length && *name; name += lstrlenW(name) + 1) {
        if (!HasPrefix(name, stem, true) || name[stemLength] < L'1' || name[stemLength] > L'9')
            continue;
        const int number = _wtoi(name + stemLength);
        if (number > count) {
            wchar_t text[300];
            StringCchPrintfW(text, ARRAYSIZE(text), L"[%s] %s is beyond Entry=%d and never read", section, name,
                             count);
            ReportFinding(kSetupConfigName, KeyLine(section, name), SeverityWarning, L"%s", text);
        }
    }
}

int Walker::ReadTargetKind(const wchar_t* field, int line, wchar_t (&folder)[kFieldChars])
{
    folder[0] = L'\0';
    if (wcspbrk(field, L"1:")) {
        const wchar_t* meant = field;
        while (IsBlank(*meant))
            ++meant;
        if (StartsWithFolderPrefix(meant)) {
            ReadPrefixedField(field, line, folder);
        } else {
            StringCchCopyW(folder, kFieldChars, field);
            StripFieldPrefix(folder);
            ReportConfig(line, SeverityError,
                         L"the target \"%s\" holds a 1 or a colon, so Setup takes it as kind 1 with the folder \"%s\"",
                         field, folder);
        }
        if (!folder[0]) {
            ReportConfig(line, SeverityError, L"the target \"%s\" is kind 1 without a folder: Setup ends with -36 on %s",
                         field, walk_.osKeys);
        }
        return TargetExplicitDirectory;
    }
    wchar_t digits[kFieldChars];
    int out = 0;
    for (const wchar_t* c = field; *c && out < kFieldChars - 1; ++c) {
        if (*c != L' ')
            digits[out++] = *c;
    }
    digits[out] = L'\0';
    const int kind = _wtoi(digits);
    if (kind < TargetExplicitDirectory || kind > TargetSystemX86Downlevel) {
        ReportStop(line, SetupBadTargetKind, L"the target \"%s\" is no kind 1 to 5", field);
        return 0;
    }
    return kind;
}

// Names Setup will refuse to copy: ".." or a drive would leave the folders.
bool IsSafeListedName(const wchar_t* name)
{
    return !IsAbsoluteOrRooted(name) && !ClimbsOut(name) && !wcschr(name, L':');
}

void Walker::CheckFileList(const wchar_t* section, const StringList& names, const wchar_t* sourceFolder, int kind)
{
    for (int i = 0; i < names.Count(); ++i) {
        const int line = walk_.lines->EntryLine(section, i);
        if (!IsSafeListedName(names.At(i))) {
            ReportConfig(line, SeverityError,
                         L"[%s] lists \"%s\", which reaches out of its folders (\"..\" or a drive): Setup refuses it",
                         section, names.At(i));
            continue;
        }
        wchar_t path[kFieldChars];
        JoinRelative(path, sourceFolder, names.At(i));
        CheckFile(path, line, InstallStepCode(kind), true);
    }
}

bool Walker::ReadFileGroup(const wchar_t* dependSection, int number)
{
    wchar_t key[50];
    StringCchPrintfW(key, ARRAYSIZE(key), L"Name%d", number);
    StringList fields;
    if (!ReadCommaList(walk_.configPath, dependSection, key, fields)) {
        ReportStop(SectionLine(dependSection), SetupNoGroupName, L"[%s] has no %s", dependSection, key);
        return false;
    }
    const int line = KeyLine(dependSection, key);
    if (fields.Count() < 3) {
        ReportStop(line, SetupNoGroupName, L"[%s] %s has fewer than three fields", dependSection, key);
        return false;
    }
    StringList names;
    if (!ReadSectionLines(walk_.configPath, fields.At(0), names)) {
        wchar_t* content = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, kLongSectionChars * sizeof(wchar_t)));
        const DWORD length =
            content ? GetPrivateProfileSectionW(fields.At(0), content, kLongSectionChars, walk_.configPath) : 0;
        if (content)
            HeapFree(GetProcessHeap(), 0, content);
        if (length > kFileListLimit) {
            wchar_t size[16];
            StringCchPrintfW(size, ARRAYSIZE(size), L"%lu", length);
            ReportStop(SectionLine(fields.At(0)), SetupNoFileList,
                       L"the file-list section [%s] takes %s characters, over the 1021 Setup reads", fields.At(0),
                       size);
        } else {
            ReportStop(line, SetupNoFileList, L"the file-list section [%s] is missing or empty", fields.At(0));
        }
        return false;
    }
    wchar_t targetFolder[kFieldChars];
    const int kind = ReadTargetKind(fields.At(1), line, targetFolder);
    if (kind == 0)
        return false;
    wchar_t sourceFolder[kFieldChars];
    ReadPrefixedField(fields.At(2), line, sourceFolder);
    CheckFileList(fields.At(0), names, sourceFolder, kind);
    return true;
}

void Walker::ReadFileGroups(const wchar_t* dependSection, int line)
{
    wchar_t countText[50];
    if (!GetPrivateProfileStringW(dependSection, L"Entry", L"", countText, ARRAYSIZE(countText),
                                  walk_.configPath)) {
        if (SectionExists(dependSection))
            ReportStop(SectionLine(dependSection), SetupNoGroupCount, L"[%s] has no Entry", dependSection);
        else
            ReportStop(line, SetupNoGroupCount, L"the dependent-files section [%s] is missing", dependSection);
        return;
    }
    const int count = _wtoi(countText);
    if (count <= 0 && lstrcmpW(countText, L"0") != 0)
        ReportConfig(KeyLine(dependSection, L"Entry"), SeverityWarning,
                     L"[%s] Entry=%s is no positive number: Setup copies no files", dependSection, countText);
    CheckKeysBeyondCount(dependSection, L"Name", count < 0 ? 0 : count);
    for (int number = 1; number <= count; ++number) {
        if (!ReadFileGroup(dependSection, number))
            return;
    }
}

bool Walker::Run()
{
    StringList driverList;
    if (!ReadCommaList(walk_.configPath, kDriverListSection, walk_.entryName, driverList) ||
        driverList.Count() < 1) {
        if (SectionExists(kDriverListSection))
            ReportStop(SectionLine(kDriverListSection), SetupNoDriverList, L"[DEV_OS1] has no %s", walk_.entryName);
        else
            ReportStop(0, SetupNoDriverList, L"[DEV_OS1] is missing");
        return stopReported_;
    }
    const bool installPackage =
        GetPrivateProfileIntW(L"Information", L"DevInstall", 0, walk_.configPath) != 0;
    if (installPackage && !ReadDriverPackage(driverList))
        return stopReported_;
    const int line = KeyLine(kDriverListSection, walk_.entryName);
    const wchar_t* driverSection = driverList.At(0);
    wchar_t dependSection[50];
    if (GetPrivateProfileStringW(driverSection, L"WDMDependFiles", L"", dependSection, ARRAYSIZE(dependSection),
                                 walk_.configPath))
        ReadFileGroups(dependSection, KeyLine(driverSection, L"WDMDependFiles"));
    else if (!installPackage && !SectionExists(driverSection))
        ReportConfig(line, SeverityWarning, L"the driver section [%s] is missing: Setup installs nothing on %s",
                     driverSection, walk_.osKeys);
    return stopReported_;
}

}  // namespace

bool WalkSetupEntry(const SetupEntryWalk& walk)
{
    Walker walker(walk);
    return walker.Run();
}
