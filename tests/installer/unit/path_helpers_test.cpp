// Path and text helpers at their edges: drive-only paths, roots, network
// paths, trailing separators, and double-byte text under code page 932.
#include <gtest/gtest.h>

#include <string>

#include "code_page_fixture.h"
#include "globals.h"
#include "path_helpers.h"
#include "text_helpers.h"

namespace {

// A kPathSize buffer holding text, as every caller passes.
struct PathBuffer {
    explicit PathBuffer(const char* text) { lstrcpynA(data, text, kPathSize); }
    char data[kPathSize];
};

std::string FromPosition(const PathBuffer& path, const char* position)
{
    return position ? std::string(position) : std::string("<null>");
}

std::string LastSeparator(const char* text)
{
    PathBuffer path(text);
    return FromPosition(path, FindLastSeparator(path.data));
}

std::string RootEnd(const char* text)
{
    PathBuffer path(text);
    return FromPosition(path, FindRootEnd(path.data));
}

std::string Extension(const char* text)
{
    PathBuffer path(text);
    return FromPosition(path, PathExtension(path.data));
}

std::string Appended(const char* directory, const char* name)
{
    PathBuffer path(directory);
    PathAppend(path.data, name);
    return path.data;
}

std::string Trimmed(const char* text)
{
    PathBuffer buffer(text);
    return TrimSpaces(buffer.data);
}

}  // namespace

TEST(PathHelpers, FindsSeparatorsOfBothKinds)
{
    EXPECT_TRUE(IsPathSeparator('\\'));
    EXPECT_TRUE(IsPathSeparator('/'));
    EXPECT_FALSE(IsPathSeparator(':'));
    EXPECT_EQ("\\c", LastSeparator("a/b\\c"));
    EXPECT_EQ("/c", LastSeparator("a\\b/c"));
    EXPECT_EQ(":name", LastSeparator("C:name"));
    EXPECT_EQ("<null>", LastSeparator("name"));
    EXPECT_EQ("<null>", LastSeparator(""));

    PathBuffer first("a\\b/c");
    EXPECT_EQ("\\b/c", FromPosition(first, FindFirstSeparator(first.data)));
    PathBuffer drive("d:name");
    EXPECT_EQ(":name", FromPosition(drive, FindFirstSeparator(drive.data)));
    PathBuffer bare("1:name");
    EXPECT_EQ("<null>", FromPosition(bare, FindFirstSeparator(bare.data)));
}

TEST(PathHelpers, LastComponent)
{
    PathBuffer driveName("C:name");
    EXPECT_STREQ("name", PathLastComponent(driveName.data));
    PathBuffer trailing("C:\\dir\\");
    char* component = PathLastComponent(trailing.data);
    EXPECT_STREQ("", component);
    EXPECT_EQ(trailing.data + 7, component);
    PathBuffer bare("install.exe");
    EXPECT_EQ(bare.data, PathLastComponent(bare.data));
}

TEST(PathHelpers, ExtensionIsTheLastDotOfTheLastComponent)
{
    EXPECT_EQ(".gz", Extension("archive.tar.gz"));
    EXPECT_EQ(".exe", Extension("D:\\dir.d\\install.exe"));
    EXPECT_EQ("<null>", Extension(".profile"));
    EXPECT_EQ("<null>", Extension("."));
    EXPECT_EQ("<null>", Extension(".."));
    EXPECT_EQ("<null>", Extension("C:\\x\\.."));
    EXPECT_EQ("<null>", Extension("dir.d\\file"));
    EXPECT_EQ("<null>", Extension("dir.d/"));
}

TEST(PathHelpers, RootEndOfAbsoluteAndRelativePaths)
{
    EXPECT_EQ("\\", RootEnd("C:\\"));
    EXPECT_EQ("\\dir", RootEnd("C:\\dir"));
    EXPECT_EQ("/dir", RootEnd("c:/dir"));
    EXPECT_EQ("\\dir", RootEnd("\\\\srv\\share\\dir"));
    EXPECT_EQ("/", RootEnd("//srv/share/"));
    EXPECT_EQ("\\dir", RootEnd("\\dir"));
    EXPECT_EQ("<null>", RootEnd("\\\\srv"));
    EXPECT_EQ("<null>", RootEnd("\\\\srv\\share"));
    EXPECT_EQ("<null>", RootEnd("C:dir"));
    EXPECT_EQ("<null>", RootEnd("C:"));
    EXPECT_EQ("<null>", RootEnd("dir"));
    EXPECT_EQ("<null>", RootEnd(""));
}

TEST(PathHelpers, AppendAddsOneSeparatorWhereNeeded)
{
    EXPECT_EQ("C:\\dir\\x", Appended("C:\\dir\\", "x"));
    EXPECT_EQ("C:\\dir/x", Appended("C:\\dir/", "x"));
    EXPECT_EQ("C:\\dir\\x", Appended("C:\\dir", "x"));
    EXPECT_EQ("C:x", Appended("C:", "x"));
    EXPECT_EQ("C:\\dir\\", Appended("C:\\dir", ""));
    EXPECT_EQ("\\x", Appended("", "x"));
    EXPECT_EQ("C:\\Start Menu\\\\Apps", Appended("C:\\Start Menu", "\\Apps"));
}

TEST(PathHelpers, AppendNeverOverrunsItsBuffer)
{
    PathBuffer path(std::string(250, 'a').c_str());
    path.data[kPathSize - 1] = 'Z';
    EXPECT_EQ(nullptr, PathAppend(path.data, "0123456789"));
    EXPECT_EQ(kPathSize - 1, lstrlenA(path.data));
    EXPECT_EQ('\\', path.data[250]);
}

TEST(PathHelpers, SetExtension)
{
    PathBuffer program("D:\\install.exe");
    EXPECT_STREQ("D:\\install.INF", PathSetExtension(program.data, "INF"));
    PathBuffer readme("README");
    EXPECT_STREQ("README.INF", PathSetExtension(readme.data, "INF"));
    PathBuffer dottedFolder("dir.d\\setup");
    EXPECT_STREQ("dir.d\\setup.INF", PathSetExtension(dottedFolder.data, "INF"));
    PathBuffer full(std::string(kPathSize - 3, 'a').c_str());
    EXPECT_EQ(nullptr, PathSetExtension(full.data, "INF"));
    EXPECT_EQ(kPathSize - 1, lstrlenA(full.data));
}

TEST(PathHelpers, FullNameDropsTrailingSeparatorButKeepsDriveRoot)
{
    PathBuffer dir("C:\\dir\\");
    EXPECT_STREQ("C:\\dir", PathFullName(dir.data));
    PathBuffer root("C:\\");
    EXPECT_STREQ("C:\\", PathFullName(root.data));
    PathBuffer dots("C:\\a\\b\\..\\c");
    EXPECT_STREQ("C:\\a\\c", PathFullName(dots.data));
    PathBuffer slashes("C:/a/b/");
    EXPECT_STREQ("C:\\a\\b", PathFullName(slashes.data));
}

TEST(PathHelpers, FullNameKeepsAPathThatDoesNotExpand)
{
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\windows"));
    PathBuffer relative(std::string(250, 'r').c_str());
    EXPECT_STREQ(relative.data, PathFullName(relative.data)) << "too long once the current folder is added";
}

TEST(TextHelpers, TrimSpaces)
{
    EXPECT_EQ("two words", Trimmed(" \t two words \r\n"));
    EXPECT_EQ("x", Trimmed("x"));
    EXPECT_EQ("", Trimmed("   \t "));
    EXPECT_EQ("", Trimmed(""));
    EXPECT_EQ("a  b", Trimmed("\va  b\f"));
}

TEST(TextHelpers, ReplaceCharAndSkipWhiteSpace)
{
    PathBuffer key("A/B\\C");
    ReplaceChar(key.data, '/', '_');
    ReplaceChar(key.data, '\\', '_');
    EXPECT_STREQ("A_B_C", key.data);
    PathBuffer same("a/b");
    ReplaceChar(same.data, '/', '/');
    EXPECT_STREQ("a/b", same.data);
    PathBuffer text("  \tx y");
    EXPECT_STREQ("x y", SkipWhiteSpace(text.data));
}

// Under code page 932, 表 (0x95 0x5C) and ソ (0x83 0x5C) are single characters
// whose second byte equals the backslash.
using ShiftJis = JapaneseCodePageTest;

TEST_F(ShiftJis, TrailByteBackslashIsNoSeparator)
{
    // "C:\表\ソ" and a file name ending in "表".
    PathBuffer path("C:\\\x95\x5C\\\x83\x5C");
    EXPECT_EQ(path.data + 5, FindLastSeparator(path.data));
    EXPECT_STREQ("\x83\x5C", PathLastComponent(path.data));

    PathBuffer name("\x95\x5C");
    EXPECT_EQ(nullptr, FindLastSeparator(name.data));
    EXPECT_EQ(nullptr, FindFirstSeparator(name.data));
    EXPECT_EQ(nullptr, FindRootEnd(name.data));

    PathBuffer folder("C:\\\x83\x5C");
    EXPECT_STREQ("C:\\\x83\x5C\\x", PathAppend(folder.data, "x"));

    PathBuffer program("D:\\\x83\x5C\x83\x74\x83\x67.exe");
    EXPECT_STREQ("D:\\\x83\x5C\x83\x74\x83\x67.INF", PathSetExtension(program.data, "INF"));
}

TEST_F(ShiftJis, ReplaceAndTrimLeaveDoubleByteCharactersWhole)
{
    PathBuffer key("\x95\x5C/\x83\x5C\\x");
    ReplaceChar(key.data, '\\', '_');
    ReplaceChar(key.data, '/', '_');
    EXPECT_STREQ("\x95\x5C_\x83\x5C_x", key.data);

    // A full-width character whose trail byte is 0x20 does not exist, but
    // 0x8140 (the ideographic space) must not be cut in half either.
    PathBuffer spaced(" \x83\x5C \x81\x40 ");
    EXPECT_STREQ("\x83\x5C \x81\x40", TrimSpaces(spaced.data));

    PathBuffer table("\x95\x5C\x83\x5C");
    EXPECT_EQ(nullptr, FindChar(table.data, '\\'));
}
