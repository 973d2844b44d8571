// TQSetup.ini: the entry for the running Windows, the driver package and the
// groups of dependent files, read into the state of one run.
#pragma once
#include <windows.h>

#include "setup_paths.h"
#include "string_list.h"
#include "windows_version.h"

// The name of the [OS] key that matched the running Windows, such as "OS3".
struct OsEntryName {
    wchar_t text[50];
};

// Where a group of files goes (see InstallDriverPackage).
enum TargetKind {
    TargetExplicitDirectory = 1,
    TargetSystem = 2,
    TargetSystemX86 = 3,
    TargetSystemDownlevel = 4,
    TargetSystemX86Downlevel = 5,
};

// One group of dependent files: the lines of its file-list section.
struct FileGroup {
    StringList fileNames;
    wchar_t sourceDirectory[SETUP_PATH_SIZE] = {};
    int targetKind = -1;
    wchar_t targetDirectory[SETUP_PATH_SIZE] = {};
};

// The state of one run: filled by ReadSetupConfig, worked through by
// InstallDriverPackage. The configuration path and the OS entry name belong
// to the caller and must outlive it.
class DriverSetup {
public:
    DriverSetup(const wchar_t* configPath, const wchar_t* osEntryName, const wchar_t* setupDirectory);
    DriverSetup(const DriverSetup&) = delete;
    DriverSetup& operator=(const DriverSetup&) = delete;
    ~DriverSetup() { DestroyGroups(); }

    // Appends an empty group and returns it; nullptr when memory runs out.
    FileGroup* AddGroup();

    const wchar_t* configPath;
    const wchar_t* osEntryName;
    wchar_t setupDirectory[SETUP_PATH_SIZE];
    wchar_t infPath[SETUP_PATH_SIZE] = {};
    int groupCount = 0;
    FileGroup* fileGroups = nullptr;
    bool installPackage = false;
    DWORD detailCode = 0;
    bool ready = false;

private:
    bool GrowGroups();
    void DestroyGroups();

    int groupCapacity_ = 0;
};

// Appends the comma-separated fields of a value to list, skipping empty
// fields; false when the value is missing or empty.
bool ReadCommaList(const wchar_t* configPath, const wchar_t* section, const wchar_t* key,
                   StringList& list);

// Appends the lines of a section to list, each without its first "=";
// false when the section is missing, empty or does not fit the buffer.
bool ReadSectionLines(const wchar_t* configPath, const wchar_t* section, StringList& list);

// Finds the first [OS] entry whose list holds osKey.
bool FindOsEntry(const wchar_t* configPath, const wchar_t* osKey, OsEntryName& entryName);

// Fills setup from its configuration file: 0 or a SetupCode.
int ReadSetupConfig(DriverSetup& setup);
