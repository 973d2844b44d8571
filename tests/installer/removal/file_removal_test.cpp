// RemoveFile and RemoveFolderTree on real folders of the test prefix, with
// the message boxes answered from a watcher thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_answerer.h"
#include "code_page_fixture.h"
#include "copy_all.h"
#include "file_removal.h"
#include "globals.h"
#include "menu_groups.h"
#include "registry_fixture.h"
#include "removal_fixture.h"
#include "settings_fixture.h"
#include "test_files.h"
#include "unix_links.h"

using namespace installer_testing;
using testing_support::BoxAnswerer;
using testing_support::CreateDirectories;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::MakeUnixLink;
using testing_support::RemoveUnixLink;
using testing_support::ScratchDir;

namespace {

void Touch(const std::wstring& path)
{
    ASSERT_TRUE(testing_support::WriteFileBytes(path, "data"));
}

bool RemoveTree(const std::wstring& folder)
{
    return RemoveFolderTree(Ansi(folder).c_str());
}

class RemoveFileTest : public RemovalTest {
protected:
    ScratchDir dir_{L"rf"};
};

TEST_F(RemoveFileTest, MissingFileCountsAsRemovedWithoutMessage)
{
    BoxAnswerer boxes;
    EXPECT_TRUE(RemoveFile(Ansi(dir_ / L"never-there.dll").c_str()));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(RemoveFileTest, DeletesFile)
{
    const std::wstring file = dir_ / L"program.exe";
    Touch(file);
    BoxAnswerer boxes;
    EXPECT_TRUE(RemoveFile(Ansi(file).c_str()));
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(RemoveFileTest, FileHeldOpenIsReportedAndStays)
{
    const std::wstring file = dir_ / L"in use.dll";
    Touch(file);
    HeldOpen held(file);
    ASSERT_TRUE(held.IsHeld());
    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveFile(Ansi(file).c_str()));
    EXPECT_TRUE(FileExists(file));
    ExpectOneBox(boxes, FileNotRemovedText(file), kDefaultCaption);
}

// An install folder "app" in a scratch folder, with the files and folders a
// test puts into it.
class RemoveFolderTreeTest : public RemovalTest {
protected:
    std::wstring Make(const std::wstring& relative)
    {
        std::wstring path = app_ + L"\\" + relative;
        size_t cut = path.find_last_of(L'\\');
        EXPECT_TRUE(CreateDirectories(path.substr(0, cut)));
        Touch(path);
        return path;
    }

    ScratchDir dir_{L"tree"};
    const std::wstring app_ = dir_ / L"app";
};

TEST_F(RemoveFolderTreeTest, EmptySubfoldersAreRemovedSilently)
{
    ASSERT_TRUE(CreateDirectories(app_ + L"\\data\\cache"));
    ASSERT_TRUE(CreateDirectories(app_ + L"\\logs"));
    BoxAnswerer boxes;
    EXPECT_TRUE(RemoveTree(app_ + L"\\"));
    EXPECT_FALSE(DirectoryExists(app_));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(RemoveFolderTreeTest, MissingFolderIsRemovedWithoutMessage)
{
    BoxAnswerer boxes;
    EXPECT_TRUE(RemoveTree(app_));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(RemoveFolderTreeTest, HelpIndexFilesGoWithoutQuestionInAnyCase)
{
    Make(L"HELP.GID");
    Make(L"doc\\help.gid");
    Make(L"doc\\manual.Gid");
    BoxAnswerer boxes({}, IDNO);
    EXPECT_TRUE(RemoveTree(app_));
    EXPECT_FALSE(DirectoryExists(app_));
    EXPECT_EQ(0u, boxes.Count()) << Describe(boxes.Seen());
}

// A folder link in the install folder (a Unix symbolic link, which Wine shows
// as a folder link) leads to files that are not the package's: whatever
// decides for leftovers, they stay, and so do the link and the folders above.
TEST_F(RemoveFolderTreeTest, FolderLinkIsNeitherEnteredNorRemoved)
{
    const std::wstring outside = dir_ / L"outside";
    const std::wstring foreign[] = {outside + L"\\precious.txt", outside + L"\\deeper\\deep.txt"};
    ASSERT_TRUE(CreateDirectories(outside + L"\\deeper"));
    for (const std::wstring& file : foreign)
        Touch(file);
    const std::wstring link = app_ + L"\\data\\linked";
    ASSERT_TRUE(CreateDirectories(app_ + L"\\data"));
    ASSERT_TRUE(MakeUnixLink(link, outside));
    const DWORD folderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    ASSERT_EQ(folderLink, GetFileAttributesW(link.c_str()) & folderLink);

    // Leftovers deleted without asking, and leftovers asked for and confirmed.
    for (bool copyAll : {true, false}) {
        g_copyAll = copyAll;
        const std::wstring own = Make(L"data\\own.txt");
        BoxAnswerer boxes({}, IDYES);
        EXPECT_FALSE(RemoveTree(app_)) << copyAll;
        for (const std::wstring& file : foreign)
            EXPECT_TRUE(FileExists(file)) << copyAll;
        EXPECT_EQ(folderLink, GetFileAttributesW(link.c_str()) & folderLink) << copyAll;
        EXPECT_FALSE(FileExists(own)) << "the package's own leftovers still go";
        EXPECT_EQ(copyAll ? 0u : 1u, boxes.Count()) << Describe(boxes.Seen());
    }
    EXPECT_TRUE(RemoveUnixLink(link));
}

// A folder is looked at again as the walk enters it: the install folder
// itself when it is a link, and a folder that was listed as a plain one and
// replaced by a link before its turn came (here while the question about
// a.txt, listed before it, is open), are not walked.
TEST_F(RemoveFolderTreeTest, LinksMetAsAFolderIsEnteredAreNotWalked)
{
    g_copyAll = true;
    const std::wstring outside = dir_ / L"outside";
    const std::wstring precious = outside + L"\\precious.txt";
    ASSERT_TRUE(CreateDirectories(outside));
    Touch(precious);
    ASSERT_TRUE(MakeUnixLink(dir_ / L"linked app", outside));
    {
        // Gone before the next answerer starts: the two would race for its box.
        BoxAnswerer none;
        EXPECT_FALSE(RemoveTree(dir_ / L"linked app"));
        EXPECT_EQ(0u, none.Count());
    }
    EXPECT_TRUE(FileExists(precious));
    EXPECT_TRUE(RemoveUnixLink(dir_ / L"linked app"));

    g_copyAll = false;
    Make(L"a.txt");
    Make(L"b\\own.txt");
    BoxAnswerer boxes({}, IDYES, 50, [&](size_t index) {
        if (index == 0) {
            MoveFileW((app_ + L"\\b").c_str(), (dir_ / L"b moved").c_str());
            MakeUnixLink(app_ + L"\\b", outside);
        }
    });
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_TRUE(FileExists(precious)) << Describe(boxes.Seen());
    EXPECT_TRUE(RemoveUnixLink(app_ + L"\\b"));
}

// Names made through the wide-character API that the ANSI functions return
// changed ("best fit"): U+00A5 as "\" in code page 932, U+FF0F and U+2215 as
// "/" in 1252. A folder "x<sep>..<sep>..<sep>outside" in the install folder
// would lead the uninstall into a folder beside it, a file of that name the
// CopyAll list out of the install folder, and the group list would offer a
// folder that is not there. Every walk skips such names and reports them
// once (message 41).
class BestFitNames : public RemoveFolderTreeTest {
protected:
    std::vector<std::wstring> Separators() const
    {
        if (GetACP() == 932)
            return {L"\u00a5"};
        return {L"\uff0f", L"\u2215"};
    }
};

TEST_F(BestFitNames, EveryWalkSkipsThemAndReportsThemOnce)
{
    ASSERT_TRUE(GetACP() == 932 || GetACP() == 1252) << GetACP();
    g_copyAll = true;
    const std::wstring outside = dir_ / L"outside";
    const std::wstring precious = outside + L"\\precious.txt";
    ASSERT_TRUE(CreateDirectories(outside));
    Touch(precious);
    ScratchDir source(L"source");
    ScratchDir startMenu(L"start");
    ScopedRegistryValue startMenuValue(HKEY_CURRENT_USER, kShellFoldersKey, L"Start Menu");
    ScopedRegistryValue startupValue(HKEY_CURRENT_USER, kShellFoldersKey, L"Startup");
    ASSERT_TRUE(startMenuValue.SetString(startMenu.Path()));
    ASSERT_TRUE(startupValue.SetString(startMenu / L"Startup"));
    for (const std::wstring& s : Separators()) {
        const std::wstring name = L"x" + s + L".." + s + L".." + s + L"outside";
        ASSERT_TRUE(CreateDirectories(app_ + L"\\" + name + L"\\sub"));
        ASSERT_TRUE(CreateDirectories(app_ + L"\\second" + s + L"name"));
        Touch(source / (name + L".txt"));
        Touch(source / (L"second" + s + L"name"));
        ASSERT_TRUE(CreateDirectories(startMenu / (L"Group" + s + L"Tool")));
        ASSERT_TRUE(CreateDirectories(startMenu / (L"Other" + s + L"Tool")));
    }
    Touch(source / L"own.txt");
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);

    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_TRUE(FileExists(precious));
    EXPECT_EQ(1u, boxes.Count()) << "uninstall: " << Describe(boxes.Seen());

    ASSERT_TRUE(SetCurrentDirectoryW(source.Path().c_str()));
    const int collected = CollectCopyAllFiles();
    SetCurrentDirectoryW(current);
    EXPECT_EQ(1, collected);
    EXPECT_STREQ("own.txt", collected > 0 ? g_copyAllList[0] : "");
    EXPECT_EQ(2u, boxes.Count()) << "CopyAll: " << Describe(boxes.Seen());

    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN, 0, 0, 200, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    g_menuDir[0] = '\0';
    FillMenuGroupList(combo);
    EXPECT_EQ(0, SendMessageW(combo, CB_GETCOUNT, 0, 0));
    DestroyWindow(combo);
    EXPECT_EQ(3u, boxes.Count()) << "group list: " << Describe(boxes.Seen());
}

// ".gid" alone is a name without extension, so it is an ordinary leftover.
TEST_F(RemoveFolderTreeTest, NameDotGidAloneIsAskedFor)
{
    const std::wstring file = Make(L".gid");
    BoxAnswerer boxes({IDNO});
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_TRUE(FileExists(file));
    ExpectOneBox(boxes, LeftoverQuestionText(file), kTitle);
}

TEST_F(RemoveFolderTreeTest, LeftoverAnsweredYesIsDeletedWithTheFolder)
{
    const std::wstring notes = Make(L"notes.txt");
    BoxAnswerer boxes({IDYES});
    EXPECT_TRUE(RemoveTree(app_));
    EXPECT_FALSE(DirectoryExists(app_));
    ExpectOneBox(boxes, LeftoverQuestionText(notes), kTitle);
}

TEST_F(RemoveFolderTreeTest, LeftoverAnsweredNoStaysAndOtherFilesAreStillAsked)
{
    const std::wstring first = Make(L"first.txt");
    const std::wstring second = Make(L"second.txt");
    BoxAnswerer boxes({IDNO, IDYES});
    EXPECT_FALSE(RemoveTree(app_));
    auto seen = boxes.Seen();
    ASSERT_EQ(2u, seen.size()) << Describe(seen);
    // Whichever came first was kept, the other deleted.
    const bool firstAskedFirst = seen[0].text == LeftoverQuestionText(first);
    const std::wstring& kept = firstAskedFirst ? first : second;
    const std::wstring& deleted = firstAskedFirst ? second : first;
    EXPECT_EQ(LeftoverQuestionText(kept), seen[0].text);
    EXPECT_EQ(LeftoverQuestionText(deleted), seen[1].text);
    EXPECT_TRUE(FileExists(kept));
    EXPECT_FALSE(FileExists(deleted));
    EXPECT_TRUE(DirectoryExists(app_));
}

TEST_F(RemoveFolderTreeTest, CancelStopsEverythingAtOnce)
{
    const std::vector<std::wstring> files = {Make(L"a.txt"), Make(L"z.txt"), Make(L"sub\\deep\\b.txt"),
                                             Make(L"sub\\c.txt"), Make(L"other\\d.txt")};
    BoxAnswerer boxes({IDCANCEL}, IDYES);
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_EQ(1u, boxes.Count()) << Describe(boxes.Seen());
    for (const auto& file : files)
        EXPECT_TRUE(FileExists(file)) << Ansi(file);
}

TEST_F(RemoveFolderTreeTest, KeptFileInSubfolderStopsTheParentThere)
{
    const std::wstring kept = Make(L"sub\\keep.txt");
    Make(L"a.txt");
    Make(L"z.txt");
    Make(L"sub2\\y.txt");
    BoxAnswerer boxes({}, IDNO);
    EXPECT_FALSE(RemoveTree(app_));
    auto seen = boxes.Seen();
    // Entries of app before "sub" may have been asked for; after the
    // question about sub\keep.txt nothing more is asked anywhere.
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(LeftoverQuestionText(kept), seen.back().text) << Describe(seen);
    EXPECT_TRUE(FileExists(kept));
    EXPECT_TRUE(DirectoryExists(app_ + L"\\sub"));
}

TEST_F(RemoveFolderTreeTest, RemoveNoneKeepsLeftoversWithoutAnyMessage)
{
    g_removeNone = true;
    const std::wstring notes = Make(L"notes.txt");
    const std::wstring deep = Make(L"sub\\user.cfg");
    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_EQ(0u, boxes.Count()) << Describe(boxes.Seen());
    EXPECT_TRUE(FileExists(notes));
    EXPECT_TRUE(FileExists(deep));
}

TEST_F(RemoveFolderTreeTest, CopyAllDeletesLeftoversWithoutQuestion)
{
    g_copyAll = true;
    Make(L"notes.txt");
    Make(L"sub\\user.cfg");
    BoxAnswerer boxes;
    EXPECT_TRUE(RemoveTree(app_));
    EXPECT_FALSE(DirectoryExists(app_));
    EXPECT_EQ(0u, boxes.Count()) << Describe(boxes.Seen());
}

TEST_F(RemoveFolderTreeTest, RemoveNoneWinsOverCopyAll)
{
    g_removeNone = true;
    g_copyAll = true;
    const std::wstring notes = Make(L"notes.txt");
    Make(L"HELP.GID");
    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_TRUE(FileExists(notes));
    EXPECT_FALSE(FileExists(app_ + L"\\HELP.GID"));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(RemoveFolderTreeTest, LockedFileIsReportedAndTheRestProcessed)
{
    g_copyAll = true;
    const std::wstring locked = Make(L"locked.dat");
    const std::wstring others[] = {Make(L"a.txt"), Make(L"zz.txt")};
    HeldOpen held(locked);
    ASSERT_TRUE(held.IsHeld());
    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveTree(app_));
    // Message 24 for the file, and no message 26: the folder is not tried.
    ExpectOneBox(boxes, FileNotRemovedText(locked), kDefaultCaption);
    EXPECT_TRUE(FileExists(locked));
    for (const auto& other : others)
        EXPECT_FALSE(FileExists(other)) << Ansi(other);
    EXPECT_TRUE(DirectoryExists(app_));
}

TEST_F(RemoveFolderTreeTest, EmptyFolderThatCannotBeRemovedIsReported)
{
    ASSERT_TRUE(CreateDirectories(app_));
    HeldOpen held(app_);
    ASSERT_TRUE(held.IsHeld());
    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveTree(app_ + L"\\"));
    ExpectOneBox(boxes, FolderNotRemovedText(app_), kDefaultCaption);
}

// Names that merely begin with two dots are files like any other.
TEST_F(RemoveFolderTreeTest, NamesBeginningWithTwoDotsAreLeftovers)
{
    g_copyAll = true;
    Make(L"..notes");
    Make(L"sub\\..cache\\x.bin");
    BoxAnswerer boxes;
    EXPECT_TRUE(RemoveTree(app_));
    EXPECT_FALSE(DirectoryExists(app_));
    EXPECT_EQ(0u, boxes.Count()) << Describe(boxes.Seen());
}

// Under code page 932, \u8868 (0x95 0x5C) and \u30bd (0x83 0x5C) end in a
// byte that equals the backslash: a folder named so is not a folder path with
// a trailing separator, and its files are still found and removed.
class ShiftJisRemoval : public RemoveFolderTreeTest {
protected:
    void SetUp() override
    {
        REQUIRE_JAPANESE_CODE_PAGE();
        RemoveFolderTreeTest::SetUp();
    }
};

TEST_F(ShiftJisRemoval, FolderNamesEndingInTrailByteBackslash)
{
    g_removeNone = true;
    const std::wstring folder = app_ + L"\\\u8868";
    ASSERT_TRUE(CreateDirectories(folder + L"\\\u30bd"));
    Touch(folder + L"\\\u8868.gid");
    Touch(folder + L"\\\u30bd\\HELP.GID");
    const std::string ansi = Ansi(folder);
    ASSERT_EQ('\\', ansi.back());
    BoxAnswerer boxes;
    EXPECT_TRUE(RemoveFolderTree(ansi.c_str()));
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_TRUE(DirectoryExists(app_));
    EXPECT_EQ(0u, boxes.Count()) << Describe(boxes.Seen());
}

// Paths beyond the 259 characters of install's buffers: made and cleaned up
// through the "\\?\" form, which has no such limit.
class LongPathTest : public RemoveFolderTreeTest {
protected:
    void TearDown() override { RemoveLong(long_); }

    static std::wstring Long(const std::wstring& path) { return L"\\\\?\\" + path; }

    static void RemoveLong(const std::wstring& path)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(Long(path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveLong(path + L"\\" + name);
                else
                    DeleteFileW(Long(path + L"\\" + name).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(Long(path).c_str());
    }

    // A folder below app whose path has exactly length characters.
    std::wstring MakeFolderOfLength(size_t length)
    {
        std::wstring path = app_ + L"\\";
        path += std::wstring(length - path.size(), L'd');
        EXPECT_TRUE(CreateDirectories(app_));
        EXPECT_TRUE(CreateDirectoryW(Long(path).c_str(), nullptr));
        long_ = app_;
        return path;
    }

    std::wstring long_;
};

TEST_F(LongPathTest, EntryWhosePathDoesNotFitStays)
{
    g_copyAll = true;
    // "<folder>\*.*" still fits; "<folder>\longname.txt" does not.
    const std::wstring folder = MakeFolderOfLength(250);
    const std::wstring file = folder + L"\\longname.txt";
    ASSERT_GT(file.size(), 259u);
    HANDLE created = CreateFileW(Long(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, created);
    CloseHandle(created);
    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Long(file).c_str()));
    EXPECT_EQ(0u, boxes.Count()) << Describe(boxes.Seen());
}

TEST_F(LongPathTest, FolderWhoseSearchPatternDoesNotFitStays)
{
    const std::wstring folder = MakeFolderOfLength(257);
    BoxAnswerer boxes;
    EXPECT_FALSE(RemoveTree(app_));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Long(folder).c_str()));
    EXPECT_EQ(0u, boxes.Count()) << Describe(boxes.Seen());
}

}  // namespace
