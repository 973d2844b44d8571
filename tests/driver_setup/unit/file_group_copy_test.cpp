#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "file_group_copy.h"
#include "folder_listing.h"
#include "setup_test_files.h"

namespace {

using namespace driver_setup_test;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

TEST(EnsureDirectory, CreatesOnlyTheLastLevel)
{
    ScratchDir dir;
    EXPECT_TRUE(EnsureDirectory(dir.Path().c_str()));
    const std::wstring created = dir / L"new";
    EXPECT_TRUE(EnsureDirectory(created.c_str()));
    EXPECT_TRUE(testing_support::DirectoryExists(created));
    EXPECT_TRUE(EnsureDirectory(created.c_str()));

    const std::wstring deep = dir / L"missing\\new";
    EXPECT_FALSE(EnsureDirectory(deep.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_FALSE(testing_support::DirectoryExists(dir / L"missing"));
}

TEST(EnsureDirectory, FailsWhereAFileIsInTheWay)
{
    ScratchDir dir;
    const std::wstring file = dir / L"file";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    EXPECT_FALSE(EnsureDirectory(file.c_str()));
    const std::wstring below = file + L"\\sub";
    EXPECT_FALSE(EnsureDirectory(below.c_str()));
}

// A listed name that would lead out of the target folder fails alone, as a
// file that cannot be copied, and nothing is written outside; a subfolder
// inside the target stays allowed.
TEST(GroupCopyNames, NamesLeadingOutOfTheFolderFailAloneAndWriteNothingOutside)
{
    ScratchDir root;
    const std::wstring source = root / L"pkg\\src";
    const std::wstring target = root / L"out";
    ASSERT_TRUE(testing_support::CreateDirectories(source + L"\\sub"));
    ASSERT_TRUE(testing_support::CreateDirectories(target + L"\\sub"));
    ASSERT_TRUE(WriteFileBytes(source + L"\\sub\\in.txt", "new"));
    ASSERT_TRUE(WriteFileBytes(root / L"pkg\\up.txt", "escaped"));
    for (const wchar_t* name : {L"..\\up.txt", L"../up.txt", L"sub\\..\\..\\up.txt", L".. \\up.txt",
                                L"C:up.txt", L"\\up.txt", L"in.txt:stream"}) {
        StringList list;
        Fill(list, {name, L"sub\\in.txt"});
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(0, CopyFileGroup(source.c_str(), target.c_str(), list, CopyByTime)) << testing::PrintToString(std::wstring(name));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), GetLastError());
        EXPECT_FALSE(FileExists(root / L"up.txt"));
        EXPECT_TRUE(FileExists(target + L"\\sub\\in.txt"));
        DeleteFileW((target + L"\\sub\\in.txt").c_str());
    }
}

TEST(ReadFileVersion, ReadsTheFixedFileVersion)
{
    DWORD high = 0, low = 0;
    ASSERT_TRUE(ReadFileVersion(VersionedDll(2).c_str(), &high, &low));
    EXPECT_EQ(0x00010000u, high);
    EXPECT_EQ(0x00000002u, low);
    ASSERT_TRUE(ReadFileVersion(VersionedDll(1).c_str(), &high, &low));
    EXPECT_EQ(0x00000001u, low);
}

TEST(ReadFileVersion, FailsWithoutAVersion)
{
    ScratchDir dir;
    const std::wstring text = dir / L"plain.txt";
    ASSERT_TRUE(WriteFileBytes(text, "no version here"));
    DWORD high = 0, low = 0;
    EXPECT_FALSE(ReadFileVersion(text.c_str(), &high, &low));
    EXPECT_FALSE(ReadFileVersion((dir / L"missing.dll").c_str(), &high, &low));
    EXPECT_FALSE(ReadFileVersion(nullptr, &high, &low));
}

// A source and a target folder; files are written with chosen write times.
class GroupCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        source_ = root_ / L"source";
        target_ = root_ / L"target";
        ASSERT_TRUE(CreateDirectoryW(source_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(target_.c_str(), nullptr));
    }
    std::wstring Source(const std::wstring& name) const { return source_ + L"\\" + name; }
    std::wstring Target(const std::wstring& name) const { return target_ + L"\\" + name; }
    // Writes the file into both folders, the target copy ageSeconds older.
    void WritePair(const std::wstring& name, LONGLONG ageSeconds)
    {
        ASSERT_TRUE(WriteFileAt(Source(name), "new", -100));
        ASSERT_TRUE(WriteFileAt(Target(name), "old", -100 - ageSeconds));
    }
    int Copy(std::initializer_list<const wchar_t*> names, DWORD mode)
    {
        StringList list;
        Fill(list, names);
        return CopyFileGroup(source_.c_str(), target_.c_str(), list, mode);
    }
    std::string TargetContent(const std::wstring& name) const { return ReadFileBytes(Target(name)); }

    ScratchDir root_;
    std::wstring source_;
    std::wstring target_;
};

TEST_F(GroupCopy, ByTimeReplacesOnlyOlderFiles)
{
    WritePair(L"older.dll", 60);
    WritePair(L"equal.dll", 0);
    WritePair(L"newer.dll", -60);
    ASSERT_TRUE(WriteFileBytes(Source(L"missing.dll"), "new"));
    EXPECT_EQ(1, Copy({L"older.dll", L"equal.dll", L"newer.dll", L"missing.dll"}, CopyByTime));
    EXPECT_EQ("new", TargetContent(L"older.dll"));
    EXPECT_EQ("old", TargetContent(L"equal.dll"));
    EXPECT_EQ("old", TargetContent(L"newer.dll"));
    EXPECT_EQ("new", TargetContent(L"missing.dll"));
}

TEST_F(GroupCopy, MissingSourceFailsTheGroupAfterTheOtherFiles)
{
    ASSERT_TRUE(WriteFileBytes(Source(L"first.dll"), "new"));
    ASSERT_TRUE(WriteFileBytes(Source(L"last.dll"), "new"));
    EXPECT_EQ(0, Copy({L"first.dll", L"absent.dll", L"last.dll"}, CopyByTime));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_TRUE(FileExists(Target(L"first.dll")));
    EXPECT_TRUE(FileExists(Target(L"last.dll")));
}

TEST_F(GroupCopy, MissingSourceKeepsAnExistingTarget)
{
    ASSERT_TRUE(WriteFileBytes(Target(L"kept.dll"), "old"));
    EXPECT_EQ(1, Copy({L"kept.dll"}, CopyByTime));
    EXPECT_EQ("old", TargetContent(L"kept.dll"));
}

TEST_F(GroupCopy, FailsWhenTheTargetFolderCannotBeMade)
{
    StringList list;
    Fill(list, {L"a.dll"});
    ASSERT_TRUE(WriteFileBytes(Source(L"a.dll"), "new"));
    const std::wstring file = root_ / L"file";
    ASSERT_TRUE(WriteFileBytes(file, "x"));
    EXPECT_EQ(0, CopyFileGroup(source_.c_str(), file.c_str(), list, CopyByTime));
    const std::wstring orphan = root_ / L"missing\\target";
    EXPECT_EQ(0, CopyFileGroup(source_.c_str(), orphan.c_str(), list, CopyByTime));
    const std::wstring fresh = root_ / L"fresh";
    EXPECT_EQ(1, CopyFileGroup(source_.c_str(), fresh.c_str(), list, CopyByTime));
    EXPECT_TRUE(FileExists(fresh + L"\\a.dll"));
}

TEST_F(GroupCopy, ByVersionReplacesOnlyLowerVersions)
{
    ASSERT_TRUE(CopyFileW(VersionedDll(2).c_str(), Source(L"up.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(VersionedDll(1).c_str(), Target(L"up.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(VersionedDll(1).c_str(), Source(L"down.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(VersionedDll(2).c_str(), Target(L"down.dll").c_str(), FALSE));
    // Equal versions: the older write time of the target shows that it stayed.
    ASSERT_TRUE(CopyFileW(VersionedDll(1).c_str(), Source(L"same.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(VersionedDll(1).c_str(), Target(L"same.dll").c_str(), FALSE));
    const FILETIME old = testing_support::ShiftTime(testing_support::FileWriteTime(Source(L"same.dll")), -3600);
    ASSERT_TRUE(testing_support::SetFileWriteTime(Target(L"same.dll"), old));
    ASSERT_TRUE(WriteFileBytes(Source(L"plain.dll"), "new"));
    ASSERT_TRUE(CopyFileW(VersionedDll(1).c_str(), Target(L"plain.dll").c_str(), FALSE));

    DWORD high = 0, low = 0;
    EXPECT_EQ(1, Copy({L"up.dll", L"down.dll", L"same.dll", L"plain.dll"}, CopyByVersion));
    ASSERT_TRUE(ReadFileVersion(Target(L"up.dll").c_str(), &high, &low));
    EXPECT_EQ(2u, low);
    ASSERT_TRUE(ReadFileVersion(Target(L"down.dll").c_str(), &high, &low));
    EXPECT_EQ(2u, low);
    ASSERT_TRUE(ReadFileVersion(Target(L"plain.dll").c_str(), &high, &low));
    EXPECT_EQ(1u, low);
    const FILETIME same = testing_support::FileWriteTime(Target(L"same.dll"));
    EXPECT_EQ(0, CompareFileTime(&old, &same));
}

TEST_F(GroupCopy, BothBitsAlwaysReplace)
{
    WritePair(L"newer.dll", -60);
    EXPECT_EQ(1, Copy({L"newer.dll"}, CopyAlways));
    EXPECT_EQ("new", TargetContent(L"newer.dll"));
}

TEST_F(GroupCopy, NoBitsOnlyAddMissingFiles)
{
    WritePair(L"older.dll", 3600);
    ASSERT_TRUE(WriteFileBytes(Source(L"missing.dll"), "new"));
    EXPECT_EQ(1, Copy({L"older.dll", L"missing.dll"}, CopyKeepExisting));
    EXPECT_EQ("old", TargetContent(L"older.dll"));
    EXPECT_EQ("new", TargetContent(L"missing.dll"));
}

// A file that the rule replaces and that another program holds stays old,
// and the group fails with the sharing violation, whatever the file's name
// and mode, once the spooler (if the mode lets it) cannot free it: the other
// files are still copied.
TEST_F(GroupCopy, FileInUseThatTheRuleReplacesFailsTheGroup)
{
    const struct {
        const wchar_t* name;
        DWORD mode;
    } cases[] = {
        {L"PCPui.dll", CopyByTime},
        {L"other.dll", CopyByTime | CopyMayStopSpooler},
        {L"PCPui.dll", CopyAlways},
    };
    for (const auto& c : cases) {
        WritePair(c.name, 60);
        ASSERT_TRUE(WriteFileBytes(Source(L"free.dll"), "new"));
        HeldFile held(Target(c.name));
        ASSERT_TRUE(held.IsHeld());
        EXPECT_EQ(0, Copy({c.name, L"free.dll"}, c.mode)) << c.name << " " << c.mode;
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError()) << c.name;
        EXPECT_EQ("old", TargetContent(c.name)) << c.name;
        EXPECT_EQ("new", TargetContent(L"free.dll")) << c.name;
        DeleteFileW(Target(L"free.dll").c_str());
    }
}

// What a copy cut short left beside a target (a temporary "<name>.~inst")
// goes with the next run, whether that run replaces the target, keeps it or
// adds it; a listed name of that form is never installed.
TEST_F(GroupCopy, LeftoversOfACutShortCopyGoAndTheirNameIsNeverInstalled)
{
    WritePair(L"older.dll", 60);
    WritePair(L"newer.dll", -60);
    ASSERT_TRUE(WriteFileBytes(Source(L"added.dll"), "new"));
    for (const wchar_t* name : {L"older.dll", L"newer.dll", L"added.dll"})
        ASSERT_TRUE(WriteFileBytes(Target(std::wstring(name) + L".~inst"), "partial"));
    EXPECT_EQ(1, Copy({L"older.dll", L"newer.dll", L"added.dll"}, CopyByTime));
    std::vector<std::wstring> left = testing_support::FileNamesIn(target_);
    std::sort(left.begin(), left.end());
    EXPECT_EQ((std::vector<std::wstring>{L"added.dll", L"newer.dll", L"older.dll"}), left);
    EXPECT_EQ("new", TargetContent(L"older.dll"));
    EXPECT_EQ("old", TargetContent(L"newer.dll"));

    ASSERT_TRUE(WriteFileBytes(Source(L"x.dll.~INST"), "new"));
    EXPECT_EQ(0, Copy({L"x.dll.~INST"}, CopyByTime));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), GetLastError());
    EXPECT_FALSE(FileExists(Target(L"x.dll.~INST")));
}

}  // namespace
