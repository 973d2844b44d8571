// Copying one entry: which existing targets are replaced, what is reported,
// and the attributes every handled target ends with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_answerer.h"
#include "copy_links_fixture.h"
#include "file_copy.h"
#include "folder_listing.h"
#include "globals.h"
#include "settings_fixture.h"
#include "test_files.h"

using copy_links_testing::InstallGlobals;
using copy_links_testing::kDefaultCaption;
using installer_testing::Ansi;
using testing_support::BoxAnswerer;
using testing_support::FileWriteTime;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::SetFileWriteTime;
using testing_support::ShiftTime;
using testing_support::WriteFileBytes;

namespace {

const char kSourceBytes[] = "new version";
const char kTargetBytes[] = "installed version";

// A source folder that is the current directory (as during the install run),
// with sub\file.txt, and a target folder.
class FileCopy : public InstallGlobals {
protected:
    void SetUp() override
    {
        InstallGlobals::SetUp();
        GetCurrentDirectoryW(MAX_PATH, previousDir_);
        ASSERT_TRUE(testing_support::CreateDirectories(source_ / L"sub"));
        ASSERT_TRUE(WriteFileBytes(SourceFile(), kSourceBytes));
        ASSERT_TRUE(SetCurrentDirectoryW(source_.Path().c_str()));
        UseEntry("sub\\file.txt", target_ / L"file.txt");
    }
    void TearDown() override { SetCurrentDirectoryW(previousDir_); }

    void UseEntry(const char* name, const std::wstring& target)
    {
        lstrcpynA(g_entryName, name, kPathSize);
        lstrcpynA(g_entryTarget, Ansi(target).c_str(), kPathSize);
    }
    std::wstring SourceFile() const { return source_ / L"sub\\file.txt"; }
    std::wstring TargetFile() const { return target_ / L"file.txt"; }

    // An existing target written seconds after the source (negative: before).
    void PlaceTarget(LONGLONG seconds, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
    {
        ASSERT_TRUE(WriteFileBytes(TargetFile(), kTargetBytes));
        ASSERT_TRUE(SetFileWriteTime(TargetFile(), ShiftTime(FileWriteTime(SourceFile()), seconds)));
        ASSERT_TRUE(SetFileAttributesW(TargetFile().c_str(), attributes));
    }

    // Normal attributes as the file system reports them (Wine adds "archive").
    bool TargetIsPlain() const
    {
        DWORD attributes = GetFileAttributesW(TargetFile().c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    }

    ScratchDir source_{L"src"};
    ScratchDir target_{L"dst"};
    wchar_t previousDir_[MAX_PATH];
};

TEST_F(FileCopy, AbsentTargetIsCopiedWithNormalAttributesFromAReadOnlySource)
{
    ASSERT_TRUE(SetFileAttributesW(SourceFile().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    BoxAnswerer boxes;
    EXPECT_TRUE(CopyEntryFile(false));
    EXPECT_EQ(kSourceBytes, ReadFileBytes(TargetFile()));
    EXPECT_TRUE(TargetIsPlain());
    EXPECT_EQ(0u, boxes.Count());
    SetFileAttributesW(SourceFile().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileCopy, OlderAndEqualTargetsAreReplaced)
{
    for (LONGLONG seconds : {-3600LL, 0LL}) {
        PlaceTarget(seconds, FILE_ATTRIBUTE_HIDDEN);
        BoxAnswerer boxes;
        EXPECT_TRUE(CopyEntryFile(false)) << seconds;
        EXPECT_EQ(kSourceBytes, ReadFileBytes(TargetFile())) << seconds;
        EXPECT_TRUE(TargetIsPlain()) << seconds;
        EXPECT_EQ(0u, boxes.Count());
    }
}

TEST_F(FileCopy, NewerTargetIsKeptSilentlyUnlessForced)
{
    PlaceTarget(3600, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    {
        BoxAnswerer boxes;
        EXPECT_TRUE(CopyEntryFile(false));
        EXPECT_EQ(kTargetBytes, ReadFileBytes(TargetFile()));
        EXPECT_TRUE(TargetIsPlain());
        EXPECT_EQ(0u, boxes.Count());
    }
    EXPECT_TRUE(CopyEntryFile(true));
    EXPECT_EQ(kSourceBytes, ReadFileBytes(TargetFile()));
}

// Wine run as root replaces a read-only target, and it ends up writable.
// (Windows' CopyFileA refuses it: a failed overwrite, message 21, below.)
TEST_F(FileCopy, ReadOnlyOlderTargetIsReplacedAndMadeWritable)
{
    PlaceTarget(-3600, FILE_ATTRIBUTE_READONLY);
    BoxAnswerer boxes;
    EXPECT_TRUE(CopyEntryFile(false));
    EXPECT_TRUE(TargetIsPlain());
    EXPECT_EQ(0u, boxes.Count());
}

// An overwriting copy that fails for another reason than a file in use is
// a failed copy (message 21), not an installed file, and leaves the old
// target as it was, with nothing beside it: a folder standing where the file
// goes, and a full disk (drive S:, a one-megabyte file system that the test
// run mounts where it may).
TEST_F(FileCopy, FailedOverwriteGivesMessage21AndLeavesTheOldFileWhole)
{
    ASSERT_TRUE(testing_support::CreateDirectories(TargetFile()));
    {
        BoxAnswerer boxes;
        EXPECT_FALSE(CopyEntryFile(true));
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(L"Failed in copying sub\\file.txt", boxes.Seen()[0].text);
        EXPECT_TRUE(testing_support::DirectoryExists(TargetFile()));
        EXPECT_EQ(0u, testing_support::FileNamesIn(target_.Path()).size());
    }

    ULARGE_INTEGER available = {}, total = {};
    if (!GetDiskFreeSpaceExW(L"S:\\", &available, &total, nullptr) || total.QuadPart > (100ull << 20))
        GTEST_SKIP() << "no small drive S: in this test run";
    const std::wstring folder = L"S:\\overwrite";
    ASSERT_TRUE(testing_support::CreateDirectories(folder));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\file.txt", kTargetBytes));
    ASSERT_TRUE(SetFileWriteTime(folder + L"\\file.txt", ShiftTime(FileWriteTime(SourceFile()), -3600)));
    ASSERT_TRUE(WriteFileBytes(SourceFile(), std::string(size_t(available.QuadPart) + (256u << 10), 'n')));
    UseEntry("sub\\file.txt", folder + L"\\file.txt");
    BoxAnswerer boxes;
    EXPECT_FALSE(CopyEntryFile(false));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Failed in copying sub\\file.txt", boxes.Seen()[0].text);
    const std::string left = ReadFileBytes(folder + L"\\file.txt");
    EXPECT_TRUE(left == kTargetBytes) << "the target holds " << left.size() << " other bytes";
    EXPECT_EQ(std::vector<std::wstring>{L"file.txt"}, testing_support::FileNamesIn(folder));
    testing_support::RemoveTree(folder);
}

// What a copy cut short left beside a target (a temporary "<name>.~inst")
// goes with the next copy of that entry, whether the target is then added,
// replaced or kept; a target named that way is refused (message 21).
TEST_F(FileCopy, LeftoverOfACutShortCopyGoesAndItsNameIsRefused)
{
    const struct {
        bool present;
        LONGLONG seconds;
        const char* bytes;
    } cases[] = {{false, 0, kSourceBytes}, {true, -3600, kSourceBytes}, {true, 3600, kTargetBytes}};
    for (const auto& c : cases) {
        DeleteFileW(TargetFile().c_str());
        if (c.present)
            PlaceTarget(c.seconds);
        ASSERT_TRUE(WriteFileBytes(TargetFile() + L".~inst", "partial"));
        BoxAnswerer boxes;
        EXPECT_TRUE(CopyEntryFile(false)) << c.seconds;
        EXPECT_EQ(0u, boxes.Count()) << c.seconds;
        EXPECT_EQ(c.bytes, ReadFileBytes(TargetFile())) << c.seconds;
        EXPECT_EQ(std::vector<std::wstring>{L"file.txt"}, testing_support::FileNamesIn(target_.Path())) << c.seconds;
    }
    UseEntry("sub\\file.txt", target_ / L"file.txt.~INST");
    BoxAnswerer boxes;
    EXPECT_FALSE(CopyEntryFile(true));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Failed in copying sub\\file.txt", boxes.Seen()[0].text);
    EXPECT_FALSE(testing_support::FileExists(target_ / L"file.txt.~INST"));
}

TEST_F(FileCopy, MissingSourceGivesMessage21WithTheRelativePath)
{
    UseEntry("sub\\missing.txt", TargetFile());
    BoxAnswerer boxes;
    EXPECT_FALSE(CopyEntryFile(false));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Failed in copying sub\\missing.txt", boxes.Seen()[0].text);
    EXPECT_EQ(kDefaultCaption, boxes.Seen()[0].caption);
}

// An entry whose target path did not fit has an empty target.
TEST_F(FileCopy, EmptyTargetGivesMessage21)
{
    UseEntry("sub\\file.txt", L"");
    BoxAnswerer boxes;
    EXPECT_FALSE(CopyEntryFile(true));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Failed in copying sub\\file.txt", boxes.Seen()[0].text);
}

// Installing from the install folder itself copies each file onto itself,
// which the system refuses (under Wine with a sharing violation): the file
// is installed already, and nothing is reported.
TEST_F(FileCopy, FileCopiedOntoItselfIsInstalledSilently)
{
    for (bool force : {false, true}) {
        UseEntry("sub\\file.txt", SourceFile());
        BoxAnswerer boxes;
        EXPECT_TRUE(CopyEntryFile(force)) << force;
        EXPECT_EQ(0u, boxes.Count()) << force;
        EXPECT_EQ(kSourceBytes, ReadFileBytes(SourceFile()));
    }
}

// A program holding the target open: the file is not installed, and the run
// must not count it as copied.
TEST_F(FileCopy, TargetInUseGivesMessage18)
{
    for (bool force : {false, true}) {
        PlaceTarget(-3600);
        HANDLE held = CreateFileW(TargetFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        BoxAnswerer boxes;
        EXPECT_FALSE(CopyEntryFile(force)) << force;
        CloseHandle(held);
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(TargetFile() + L" is in use so that overwriting cannot be executed.", boxes.Seen()[0].text);
        EXPECT_EQ(kDefaultCaption, boxes.Seen()[0].caption);
        EXPECT_EQ(kTargetBytes, ReadFileBytes(TargetFile()));
    }
}

TEST_F(FileCopy, MissingTargetFolderIsCreatedLevelByLevel)
{
    UseEntry("sub\\file.txt", target_ / L"App\\sub\\file.txt");
    BoxAnswerer boxes;
    EXPECT_TRUE(CopyEntryFile(false));
    EXPECT_EQ(kSourceBytes, ReadFileBytes(target_ / L"App\\sub\\file.txt"));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FileCopy, TargetFolderBlockedByAFileStopsBeforeCopying)
{
    ASSERT_TRUE(WriteFileBytes(target_ / L"App", "a file"));
    UseEntry("sub\\file.txt", target_ / L"App\\file.txt");
    BoxAnswerer boxes;
    EXPECT_FALSE(CopyEntryFile(true));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Unable to create a folder, " + (target_ / L"App") + L", because it already exists.",
              boxes.Seen()[0].text);
}

TEST_F(FileCopy, SourceNotOlderComparesLastWriteTimes)
{
    PlaceTarget(1);
    EXPECT_FALSE(IsSourceNotOlder(Ansi(SourceFile()).c_str(), Ansi(TargetFile()).c_str()));
    EXPECT_TRUE(IsSourceNotOlder(Ansi(TargetFile()).c_str(), Ansi(SourceFile()).c_str()));
    EXPECT_TRUE(IsSourceNotOlder(Ansi(SourceFile()).c_str(), Ansi(SourceFile()).c_str()));
    EXPECT_FALSE(IsSourceNotOlder(Ansi(source_ / L"none").c_str(), Ansi(TargetFile()).c_str()));
    EXPECT_TRUE(IsSourceNotOlder(Ansi(SourceFile()).c_str(), Ansi(target_ / L"none").c_str()));
}

// A local time of 5 March 2024, 14:07:09, as the UTC file time the file
// system would hold.
const SYSTEMTIME kLocalMarch5 = {2024, 3, 2, 5, 14, 7, 9, 0};

FILETIME LocalMarch5()
{
    FILETIME localTime, utc;
    SystemTimeToFileTime(&kLocalMarch5, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

// The date follows the user's short-date format, which the language of the
// run decides; the time is the local 24-hour time.
TEST(FileStamp, ShortDateTwentyFourHourTimeAndName)
{
    char date[200];
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &kLocalMarch5, nullptr, date, sizeof date), 0);

    char line[kFileStampSize];
    FormatFileStamp(line, sizeof line, "tool.exe", LocalMarch5());
    std::string text = line;
    // Wine keeps the "PM" marker of the English time format even in 24-hour form.
    EXPECT_EQ(0u, text.find(std::string(date) + " 14:07:09")) << text;
    EXPECT_EQ(text.size() - 10, text.find("  tool.exe")) << text;

    char shortLine[12];
    FormatFileStamp(shortLine, sizeof shortLine, "tool.exe", LocalMarch5());
    EXPECT_EQ(text.substr(0, sizeof shortLine - 1), shortLine);
}

}  // namespace
