// Folder creation level by level and the free space of the destination drive.
#include <gtest/gtest.h>

#include "box_answerer.h"
#include "copy_links_fixture.h"
#include "folder_creation.h"
#include "globals.h"
#include "settings_fixture.h"
#include "test_files.h"

using copy_links_testing::InstallGlobals;
using copy_links_testing::kDefaultCaption;
using copy_links_testing::MissingDrive;
using installer_testing::Ansi;
using testing_support::BoxAnswerer;
using testing_support::DirectoryExists;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

namespace {

class FolderCreation : public InstallGlobals {};

TEST_F(FolderCreation, CreatesEveryMissingLevelAndAcceptsExistingOnes)
{
    ScratchDir dir(L"fold");
    std::wstring deepest = dir / L"A\\B";
    BoxAnswerer boxes;
    EXPECT_TRUE(CreateFolderPath(Ansi(deepest + L"\\").c_str()));
    EXPECT_TRUE(DirectoryExists(dir / L"A"));
    EXPECT_TRUE(DirectoryExists(deepest));
    EXPECT_TRUE(CreateFolderPath(Ansi(deepest + L"\\").c_str()));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FolderCreation, LastComponentWithoutSeparatorIsNotCreated)
{
    ScratchDir dir(L"fold");
    EXPECT_TRUE(CreateFolderPath(Ansi(dir / L"A\\B").c_str()));
    EXPECT_TRUE(DirectoryExists(dir / L"A"));
    EXPECT_FALSE(DirectoryExists(dir / L"A\\B"));
}

TEST_F(FolderCreation, LevelThatIsAFileGivesMessage5AndStops)
{
    ScratchDir dir(L"fold");
    ASSERT_TRUE(WriteFileBytes(dir / L"A", "a file"));
    BoxAnswerer boxes;
    EXPECT_FALSE(CreateFolderPath(Ansi(dir / L"A\\B\\").c_str()));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Unable to create a folder, " + (dir / L"A") + L", because it already exists.", boxes.Seen()[0].text);
    EXPECT_EQ(kDefaultCaption, boxes.Seen()[0].caption);
    EXPECT_FALSE(DirectoryExists(dir / L"A\\B"));
}

TEST_F(FolderCreation, LevelThatCannotBeMadeGivesMessage6)
{
    std::string drive = MissingDrive();
    ASSERT_FALSE(drive.empty());
    BoxAnswerer boxes;
    EXPECT_FALSE(CreateFolderPath((drive + "\\App\\Sub\\").c_str()));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Failed in creating a folder, " + installer_testing::Wide((drive + "\\App").c_str()) + L".",
              boxes.Seen()[0].text);
}

// Without the "X:\" form only the last level is made: a missing parent fails.
TEST_F(FolderCreation, NetworkAndCurrentDrivePathsAreOneLevelDeep)
{
    ScratchDir dir(L"fold");
    std::wstring onDrive = (dir / L"A\\B").substr(2);  // "\users\...\A\B"
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    {
        BoxAnswerer boxes;
        EXPECT_FALSE(CreateFolderPath(Ansi(onDrive + L"\\").c_str()));
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(L"Failed in creating a folder, " + onDrive + L".", boxes.Seen()[0].text);
    }
    ASSERT_TRUE(CreateDirectoryW((dir / L"A").c_str(), nullptr));
    EXPECT_TRUE(CreateFolderPath(Ansi(onDrive + L"\\").c_str()));
    EXPECT_TRUE(DirectoryExists(dir / L"A\\B"));
    {
        BoxAnswerer boxes;
        EXPECT_FALSE(CreateFolderPath("\\\\nosuchserver\\share\\a\\b\\"));
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(L"Failed in creating a folder, \\\\nosuchserver\\share\\a\\b.", boxes.Seen()[0].text);
    }
    SetCurrentDirectoryW(L"C:\\");
}

TEST_F(FolderCreation, RootsAreLeftAlone)
{
    BoxAnswerer boxes;
    EXPECT_TRUE(CreateFolderPath("C:\\"));
    EXPECT_TRUE(CreateOneFolder("\\\\nosuchserver\\share\\"));
    EXPECT_TRUE(CreateOneFolder("\\"));
    EXPECT_EQ(0u, boxes.Count());
}

TEST_F(FolderCreation, FreeSpaceOfTheDestinationDrive)
{
    lstrcpynA(g_installDir, "C:\\No Such Folder\\Tool\\", kPathSize);
    EXPECT_GT(GetFreeSpaceMB(), 0u);
    std::string drive = MissingDrive();
    ASSERT_FALSE(drive.empty());
    lstrcpynA(g_installDir, (drive + "\\Tool\\").c_str(), kPathSize);
    EXPECT_EQ(0u, GetFreeSpaceMB());
    lstrcpynA(g_installDir, "\\\\nosuchserver\\", kPathSize);  // no share: no root
    EXPECT_EQ(0u, GetFreeSpaceMB());
}

}  // namespace
