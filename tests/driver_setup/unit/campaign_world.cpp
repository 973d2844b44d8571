#include "campaign_world.h"

#include <shlobj.h>
#include <strsafe.h>
#include <algorithm>

#include "folder_listing.h"

namespace driver_setup_campaign {

using testing_support::CreateDirectories;
using testing_support::RemoveTree;
using testing_support::WriteFileBytes;

namespace {

const wchar_t* const kSourceFolders[] = {L"common", L"x64\\spool", L"x86\\spool", L"x64\\downlevel",
                                         L"x86\\downlevel"};
// Folders between work and the package's source folders, where names that
// climb out of a source folder find kEscapeName.
const wchar_t* const kEscapeSourceFolders[] = {L"a", L"a\\b", L"a\\b\\c", L"a\\b\\c\\pkg", L"a\\b\\c\\pkg\\x64",
                                               L"a\\b\\c\\pkg\\x86"};
const wchar_t* const kWorkEntries[] = {L"a", L"t", L"s", L"cwd", L"ini"};

std::wstring ReadSample()
{
    const std::string bytes = testing_support::ReadFileBytes(std::wstring(SAMPLE_PACKAGE_DIR) + L"\\TQSetup.ini");
    return testing_support::FromCodePage(bytes, CP_ACP);
}

// Entries of dir (names), without "." and "..".
std::vector<WIN32_FIND_DATAW> Entries(const std::wstring& dir, const wchar_t* pattern = L"*")
{
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
            entries.push_back(found);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE);
    return folder;
}

bool IsSpoolerName(const std::wstring& name)
{
    return name.compare(0, 3, L"PCP") == 0 || name.compare(0, 3, L"PDR") == 0;
}

// A file on a disk, not a device that a name such as "NUL" or "COM1" opens.
bool IsDiskFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool disk = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return disk;
}

void WriteOlder(const std::wstring& path)
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    if (WriteFileBytes(path, "old"))
        testing_support::SetFileWriteTime(path, testing_support::ShiftTime(now, -86400));
}

}  // namespace

CampaignSystem::CampaignSystem(const CaseWorld& world, const std::wstring& system, const std::wstring& systemX86)
    : world_(world), system_(system), systemX86_(systemX86)
{
}

bool CampaignSystem::AddToDriverStore(const wchar_t* infPath)
{
    if (world_.driverStoreRefuses) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const DWORD attributes = GetFileAttributesW(infPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    return true;
}

bool CampaignSystem::FindSystemFolder(int csidl, wchar_t (&folder)[SETUP_PATH_SIZE])
{
    if (csidl == world_.failingSystemFolder || (csidl != CSIDL_SYSTEM && csidl != CSIDL_SYSTEMX86)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    const std::wstring& path = csidl == CSIDL_SYSTEM ? system_ : systemX86_;
    return SUCCEEDED(StringCchCopyW(folder, SETUP_PATH_SIZE, path.c_str()));
}

int CampaignSystem::ControlSpooler(SpoolerAction action)
{
    if (action == SpoolerStart) {
        running_ = true;
        return 1;
    }
    ++stops_;
    if (world_.spoolerStopResult != 0) {
        running_ = false;
        if (world_.spoolerLetsGo)
            LetGo();
    }
    return world_.spoolerStopResult;
}

void CampaignSystem::Hold(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        held_.push_back(file);
}

void CampaignSystem::LetGo()
{
    for (HANDLE file : held_)
        CloseHandle(file);
    held_.clear();
}

CampaignWorld::CampaignWorld() : outer_(L"dscampaign")
{
    places_.outer = outer_.Path();
    places_.work = outer_ / L"work";
    places_.toolTarget = places_.work + L"\\t\\tool";
    package_ = places_.work + L"\\a\\b\\c\\pkg";
    MakePackage();
    base_ = AdaptSample(IniModel::Parse(ReadSample()), places_);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    savedDirectory_ = current;
}

CampaignWorld::~CampaignWorld()
{
    SetCurrentDirectoryW(savedDirectory_.c_str());
}

void CampaignWorld::MakePackage()
{
    // One write time for all sources, an hour back: whichever group copies a
    // name into a folder, the result is the same, and it is newer than the
    // older targets that a case puts there.
    GetSystemTimeAsFileTime(&packageTime_);
    packageTime_ = testing_support::ShiftTime(packageTime_, -3600);
    for (const wchar_t* folder : kSourceFolders) {
        const std::wstring dir = package_ + L"\\" + folder;
        CreateDirectories(dir + L"\\sub");
        CreateDirectories(dir + L"\\folder_tqc.dll");
        for (const std::wstring& name : SourceNames()) {
            WriteFileBytes(dir + L"\\" + name, "new");
            testing_support::SetFileWriteTime(dir + L"\\" + name, packageTime_);
        }
    }
    for (const wchar_t* folder : kEscapeSourceFolders)
        WriteFileBytes(places_.work + L"\\" + folder + L"\\" + kEscapeName, "escaped");
    for (const wchar_t* folder : {L"x64", L"x86"})
        WriteFileBytes(package_ + L"\\" + folder + L"\\CardPrinter.inf", "[Version]\r\n");
    for (const wchar_t* folder : {L"\\ini", L"\\t", L"\\s", L"\\cwd"})
        CreateDirectories(places_.work + folder);
    packageFiles_ = testing_support::FilesBelow(places_.work + L"\\a");
}

std::wstring CampaignWorld::SetupDirectory(const CaseWorld& world) const
{
    return package_ + (world.setupDirWithBackslash ? L"\\" : L"");
}

std::wstring CampaignWorld::SystemFolder(const CaseWorld& world, bool x86) const
{
    const std::wstring name = x86 ? L"syswow64" : L"system32";
    // Long enough that a target path of a usual file name passes 259 characters.
    if (world.longSystemFolders)
        return places_.work + L"\\s\\" + std::wstring(230 - places_.work.size(), L'l') + name;
    return places_.work + L"\\s\\" + name;
}

std::wstring CampaignWorld::Prepare(const GeneratedCase& generated, CampaignSystem& system)
{
    const CaseWorld& world = generated.world;
    // The folders that hold the targets stay; the targets themselves are made
    // by the install step, or here where the case wants them already there.
    if (world.toolTarget == CaseWorld::ToolPresent)
        CreateDirectoryW(places_.toolTarget.c_str(), nullptr);
    else if (world.toolTarget == CaseWorld::ToolIsFile)
        WriteFileBytes(places_.toolTarget, "a file where a folder should be");

    const bool prepared = world.olderTargets || world.foldersAtNames;
    const std::wstring systems[] = {SystemFolder(world, false), SystemFolder(world, true)};
    std::vector<std::wstring> targets;
    if (prepared) {
        for (const std::wstring& folder : systems) {
            if (CreateDirectoryW(folder.c_str(), nullptr))
                targets.push_back(folder);
        }
        if (world.toolTarget == CaseWorld::ToolPresent)
            targets.push_back(places_.toolTarget);
    }
    const std::vector<std::wstring> listed = prepared ? ListedNames(generated.ini) : std::vector<std::wstring>();
    // Only the package's own plain names: the others must not lead this set-up out of its folders.
    const std::vector<std::wstring>& sources = SourceNames();
    for (size_t i = 0; i < listed.size(); ++i) {
        const std::wstring& name = listed[i];
        if (std::find(sources.begin(), sources.end(), name) == sources.end() ||
            name.find_first_of(L"\\/") != std::wstring::npos)
            continue;
        for (const std::wstring& folder : targets) {
            const std::wstring path = folder + L"\\" + name;
            if (world.foldersAtNames && i < 2)
                CreateDirectoryW(path.c_str(), nullptr);
            else if (world.olderTargets)
                WriteOlder(path);
            if (world.heldTargets && IsSpoolerName(name))
                system.Hold(path);
        }
    }

    iniPath_ = places_.work + L"\\ini\\c" + std::to_wstring(generated.seed) + L".ini";
    WriteFileBytes(iniPath_, EncodeIni(generated.ini.Render(), generated.encoding));
    SetCurrentDirectoryW((places_.work + L"\\cwd").c_str());
    return iniPath_;
}

std::vector<std::wstring> CampaignWorld::Clear()
{
    SetCurrentDirectoryW(savedDirectory_.c_str());
    DeleteFileW(iniPath_.c_str());
    // The folders that hold the target folders hold nothing else: a file
    // there climbed out of a target folder.
    std::vector<std::wstring> strays;
    for (const wchar_t* holder : {L"\\t", L"\\s", L"\\cwd"}) {
        const std::wstring folder = places_.work + holder;
        for (const WIN32_FIND_DATAW& entry : Entries(folder)) {
            const std::wstring path = folder + L"\\" + entry.cFileName;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
                continue;
            }
            const bool isToolFile = path == places_.toolTarget;
            if (!isToolFile && wcscmp(holder, L"\\cwd") != 0)
                strays.push_back(path);
            DeleteFileW(path.c_str());
        }
    }
    return strays;
}

std::vector<std::wstring> CampaignWorld::StrayEntries(bool withPackage) const
{
    std::vector<std::wstring> strays;
    for (const WIN32_FIND_DATAW& entry : Entries(places_.outer)) {
        if (wcscmp(entry.cFileName, L"work") != 0)
            strays.push_back(places_.outer + L"\\" + entry.cFileName);
    }
    for (const WIN32_FIND_DATAW& entry : Entries(places_.work)) {
        const bool known = std::any_of(std::begin(kWorkEntries), std::end(kWorkEntries),
                                       [&](const wchar_t* name) { return wcscmp(name, entry.cFileName) == 0; });
        if (!known)
            strays.push_back(places_.work + L"\\" + entry.cFileName);
    }
    if (!withPackage)
        return strays;
    for (const std::wstring& file : testing_support::FilesBelow(places_.work + L"\\a")) {
        if (std::find(packageFiles_.begin(), packageFiles_.end(), file) == packageFiles_.end())
            strays.push_back(places_.work + L"\\a\\" + file);
    }
    return strays;
}

void CampaignWorld::Remove(const std::vector<std::wstring>& strays)
{
    for (const std::wstring& path : strays) {
        if (!DeleteFileW(path.c_str()))
            RemoveTree(path);
    }
}

std::vector<std::wstring> CampaignWorld::MarkedFilesOutside() const
{
    std::vector<std::wstring> folders;
    for (std::wstring dir = places_.outer; dir.size() > 3;) {
        dir.resize(dir.find_last_of(L'\\'));
        folders.push_back(dir.size() == 2 ? dir + L"\\" : dir);
    }
    for (int csidl : {CSIDL_SYSTEM, CSIDL_SYSTEMX86}) {
        folders.push_back(SpecialFolder(csidl));
        folders.push_back(SpecialFolder(csidl) + L"\\downlevel");
    }
    folders.push_back(SpecialFolder(CSIDL_WINDOWS));
    folders.push_back(SpecialFolder(CSIDL_WINDOWS) + L"\\inf");
    std::vector<std::wstring> marked;
    for (const std::wstring& folder : folders) {
        for (const WIN32_FIND_DATAW& entry : Entries(folder, L"*_tqc*"))
            marked.push_back(folder + L"\\" + entry.cFileName);
    }
    return marked;
}

std::string CampaignWorld::FileLeftBehind(const DriverSetup& setup, CampaignSystem& system) const
{
    for (int i = 0; i < setup.groupCount; ++i) {
        const FileGroup& group = setup.fileGroups[i];
        wchar_t folder[SETUP_PATH_SIZE] = {};
        if (group.targetKind == 1)
            StringCchCopyW(folder, SETUP_PATH_SIZE, group.targetDirectory);
        else if (group.targetKind > 3 || !system.FindSystemFolder(group.targetKind == 2 ? CSIDL_SYSTEM : CSIDL_SYSTEMX86, folder))
            continue;
        for (int n = 0; n < group.fileNames.Count(); ++n) {
            const std::wstring name = group.fileNames.At(n);
            const std::wstring target = std::wstring(folder) + L"\\" + name;
            const DWORD sourceAttributes = GetFileAttributesW((std::wstring(group.sourceDirectory) + L"\\" + name).c_str());
            const DWORD targetAttributes = GetFileAttributesW(target.c_str());
            const bool sourceIsFile = sourceAttributes != INVALID_FILE_ATTRIBUTES &&
                                      !(sourceAttributes & FILE_ATTRIBUTE_DIRECTORY);
            if (targetAttributes != INVALID_FILE_ATTRIBUTES &&
                (!sourceIsFile || (targetAttributes & FILE_ATTRIBUTE_DIRECTORY)))
                continue;
            const FILETIME written = testing_support::FileWriteTime(target);
            if (targetAttributes == INVALID_FILE_ATTRIBUTES || !IsDiskFile(target) ||
                testing_support::ReadFileBytes(target) != "new" || CompareFileTime(&written, &packageTime_) != 0)
                return testing_support::ToCodePage(target, CP_UTF8);
        }
    }
    return "";
}

}  // namespace driver_setup_campaign
