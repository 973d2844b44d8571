// Which names a folder walk passes over: the removal only the dot entries,
// the wizard's walks also every name that begins with two dots.
#include <gtest/gtest.h>

#include "folder_entries.h"

namespace {

TEST(FolderEntries, DotEntriesAreSkippedByEveryWalk)
{
    for (const char* name : {".", ".."}) {
        EXPECT_TRUE(IsDotEntry(name)) << name;
        EXPECT_TRUE(IsSkippedByWizardWalk(name)) << name;
    }
}

TEST(FolderEntries, NamesBeginningWithTwoDotsAreSkippedByTheWizardOnly)
{
    for (const char* name : {"...", "..notes", ".. two"}) {
        EXPECT_FALSE(IsDotEntry(name)) << name;
        EXPECT_TRUE(IsSkippedByWizardWalk(name)) << name;
    }
}

TEST(FolderEntries, OtherNamesAreWalked)
{
    for (const char* name : {".profile", "a.", "a..", "x", ".a."}) {
        EXPECT_FALSE(IsDotEntry(name)) << name;
        EXPECT_FALSE(IsSkippedByWizardWalk(name)) << name;
    }
}

}  // namespace
