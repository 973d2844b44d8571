#include "setup_config.h"

#include <new>
#include <stdlib.h>
#include <strsafe.h>
#include <string.h>
#include <wchar.h>

#include "setup_codes.h"

namespace {

const wchar_t kInformationSection[] = L"Information";
const wchar_t kOsSection[] = L"OS";
const wchar_t kDriverListSection[] = L"DEV_OS1";

// GetPrivateProfileSectionW returns the buffer size less two when the section
// did not fit.
const DWORD kSectionBufferSize = 1024;
const DWORD kSectionTruncated = kSectionBufferSize - 2;

// The key formed from a stem and a number, such as "OS2" or "Name1".
void FormatNumberedKey(wchar_t (&key)[50], const wchar_t* stem, int number)
{
    StringCchPrintfW(key, ARRAYSIZE(key), L"%s%d", stem, number);
}

bool SplitCommaList(wchar_t* value, StringList& list)
{
    wchar_t* context = nullptr;
    for (wchar_t* field = wcstok_s(value, L",", &context); field;
         field = wcstok_s(nullptr, L",", &context)) {
        if (!list.Add(field))
            return false;
    }
    return true;
}

bool ListHolds(wchar_t* value, const wchar_t* osKey)
{
    wchar_t* context = nullptr;
    for (wchar_t* field = wcstok_s(value, L",", &context); field;
         field = wcstok_s(nullptr, L",", &context)) {
        if (wcscmp(field, osKey) == 0)
            return true;
    }
    return false;
}

void RemoveFirst(wchar_t* text, wchar_t character)
{
    wchar_t* found = wcschr(text, character);
    if (found)
        memmove(found, found + 1, (wcslen(found + 1) + 1) * sizeof(wchar_t));
}

void RemoveAll(wchar_t* text, wchar_t character)
{
    wchar_t* out = text;
    for (const wchar_t* in = text; *in; ++in) {
        if (*in != character)
            *out++ = *in;
    }
    *out = L'\0';
}

// Target field of a Name list: a kind 2 to 5, or kind 1 with a directory.
int ReadTargetField(wchar_t* field, FileGroup& group)
{
    if (wcspbrk(field, L"1:")) {
        StripFieldPrefix(field);
        StringCchCopyW(group.targetDirectory, ARRAYSIZE(group.targetDirectory), field);
        group.targetKind = TargetExplicitDirectory;
    } else {
        RemoveAll(field, L' ');
        group.targetKind = _wtoi(field);
    }
    if (group.targetKind < TargetExplicitDirectory || group.targetKind > TargetSystemX86Downlevel)
        return SetupBadTargetKind;
    return SetupSucceeded;
}

// Name<number> of the dependent-files section: file-list section, target, source folder.
int ReadFileGroup(DriverSetup& setup, const wchar_t* dependSection, int number, FileGroup& group)
{
    wchar_t key[50];
    FormatNumberedKey(key, L"Name", number);
    StringList fields;
    if (!ReadCommaList(setup.configPath, dependSection, key, fields) || fields.Count() < 3)
        return SetupNoGroupName;
    if (!ReadSectionLines(setup.configPath, fields.At(0), group.fileNames))
        return SetupNoFileList;
    const int targetRead = ReadTargetField(fields.At(1), group);
    if (targetRead != SetupSucceeded)
        return targetRead;
    StripFieldPrefix(fields.At(2));
    // A source folder too long for a path is refused like a broken Name list.
    if (!JoinPath(group.sourceDirectory, setup.setupDirectory, fields.At(2)))
        return SetupNoGroupName;
    return SetupSucceeded;
}

// INF path = setup directory \ driver folder \ WDMInf of the driver section.
int ReadInfPath(DriverSetup& setup, StringList& driverList)
{
    wchar_t infName[256];
    if (!GetPrivateProfileStringW(driverList.At(0), L"WDMInf", L"", infName, ARRAYSIZE(infName),
                                  setup.configPath))
        return SetupNoInfName;
    if (driverList.Count() < 2)
        return SetupNoDriverList;
    StripFieldPrefix(driverList.At(1));
    // An INF path too long for its buffer is refused like a missing INF name.
    wchar_t driverDirectory[SETUP_PATH_SIZE];
    if (!JoinPath(driverDirectory, setup.setupDirectory, driverList.At(1)) ||
        !JoinPath(setup.infPath, driverDirectory, infName))
        return SetupNoInfName;
    return SetupSucceeded;
}

}  // namespace

DriverSetup::DriverSetup(const wchar_t* configPath, const wchar_t* osEntryName,
                         const wchar_t* setupDirectory)
    : configPath(configPath), osEntryName(osEntryName)
{
    StringCchCopyW(this->setupDirectory, ARRAYSIZE(this->setupDirectory), setupDirectory);
}

FileGroup* DriverSetup::AddGroup()
{
    if (groupCount == groupCapacity_ && !GrowGroups())
        return nullptr;
    return new (&fileGroups[groupCount++]) FileGroup;
}

// The block of groups doubles as groups are read, so that a count in the file
// costs no memory before its groups are there.
bool DriverSetup::GrowGroups()
{
    const int capacity = groupCapacity_ ? groupCapacity_ * 2 : 4;
    if (capacity <= groupCapacity_ || static_cast<SIZE_T>(capacity) > MAXSIZE_T / sizeof(FileGroup))
        return false;
    void* memory = HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(FileGroup));
    if (!memory)
        return false;
    FileGroup* grown = static_cast<FileGroup*>(memory);
    for (int i = 0; i < groupCount; ++i) {
        new (&grown[i]) FileGroup(static_cast<FileGroup&&>(fileGroups[i]));
        fileGroups[i].~FileGroup();
    }
    if (fileGroups)
        HeapFree(GetProcessHeap(), 0, fileGroups);
    fileGroups = grown;
    groupCapacity_ = capacity;
    return true;
}

void DriverSetup::DestroyGroups()
{
    if (!fileGroups)
        return;
    for (int i = 0; i < groupCount; ++i)
        fileGroups[i].~FileGroup();
    HeapFree(GetProcessHeap(), 0, fileGroups);
    fileGroups = nullptr;
    groupCount = 0;
    groupCapacity_ = 0;
}

bool ReadCommaList(const wchar_t* configPath, const wchar_t* section, const wchar_t* key,
                   StringList& list)
{
    wchar_t value[SETUP_PATH_SIZE];
    if (!GetPrivateProfileStringW(section, key, L"", value, ARRAYSIZE(value), configPath))
        return false;
    return SplitCommaList(value, list);
}

bool ReadSectionLines(const wchar_t* configPath, const wchar_t* section, StringList& list)
{
    wchar_t lines[kSectionBufferSize];
    const DWORD length = GetPrivateProfileSectionW(section, lines, ARRAYSIZE(lines), configPath);
    if (length == 0 || length >= kSectionTruncated)
        return false;
    // The lines end with an empty one; the buffer end bounds them all the same.
    lines[kSectionBufferSize - 1] = L'\0';
    for (wchar_t* line = lines; line < lines + length && *line;) {
        wchar_t* next = line + wcslen(line) + 1;
        RemoveFirst(line, L'=');
        if (!list.Add(line))
            return false;
        line = next;
    }
    return true;
}

bool FindOsEntry(const wchar_t* configPath, const wchar_t* osKey, OsEntryName& entryName)
{
    const int count = GetPrivateProfileIntW(kOsSection, L"Entry", 0, configPath);
    if (count <= 0)
        return false;
    // Every entry must be there before any of them is matched.
    StringList lists;
    for (int i = 1; i <= count; ++i) {
        wchar_t key[50];
        FormatNumberedKey(key, kOsSection, i);
        wchar_t value[SETUP_PATH_SIZE];
        if (!GetPrivateProfileStringW(kOsSection, key, L"", value, ARRAYSIZE(value), configPath) ||
            !lists.Add(value))
            return false;
    }
    for (int i = 0; i < lists.Count(); ++i) {
        if (ListHolds(lists.At(i), osKey)) {
            FormatNumberedKey(entryName.text, kOsSection, i + 1);
            return true;
        }
    }
    return false;
}

int ReadSetupConfig(DriverSetup& setup)
{
    StringList driverList;
    if (!setup.configPath[0] ||
        !ReadCommaList(setup.configPath, kDriverListSection, setup.osEntryName, driverList) ||
        driverList.Count() < 1)
        return SetupNoDriverList;

    if (GetPrivateProfileIntW(kInformationSection, L"DevInstall", 0, setup.configPath) != 0) {
        setup.installPackage = true;
        const int infRead = ReadInfPath(setup, driverList);
        if (infRead != SetupSucceeded)
            return infRead;
    }

    wchar_t dependSection[50];
    if (!GetPrivateProfileStringW(driverList.At(0), L"WDMDependFiles", L"", dependSection,
                                  ARRAYSIZE(dependSection), setup.configPath)) {
        setup.ready = true;
        return SetupSucceeded;
    }
    wchar_t groupCount[50];
    if (!GetPrivateProfileStringW(dependSection, L"Entry", L"", groupCount, ARRAYSIZE(groupCount),
                                  setup.configPath))
        return SetupNoGroupCount;
    const int count = _wtoi(groupCount);
    if (count < 0)
        return SetupNoGroupCount;
    // Groups are made as their Name keys are read: a huge count fails at the
    // first missing key, not on memory.
    for (int number = 1; number <= count; ++number) {
        FileGroup* group = setup.AddGroup();
        if (!group)
            return SetupNoGroupCount;
        const int groupRead = ReadFileGroup(setup, dependSection, number, *group);
        if (groupRead != SetupSucceeded)
            return groupRead;
    }
    setup.ready = true;
    return SetupSucceeded;
}
