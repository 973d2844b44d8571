#include <gtest/gtest.h>

#include <string>

#include "setup_paths.h"
#include "string_list.h"

namespace {

struct Joined {
    bool ok;
    std::wstring path;
    std::wstring directoryAfter;
};

Joined Join(const std::wstring& directory, const wchar_t* name)
{
    wchar_t dir[SETUP_PATH_SIZE] = {};
    directory.copy(dir, SETUP_PATH_SIZE - 1);
    wchar_t result[SETUP_PATH_SIZE] = L"untouched";
    const bool ok = JoinPath(result, dir, name);
    return {ok, result, dir};
}

TEST(JoinPath, PutsExactlyOneBackslashBetween)
{
    EXPECT_EQ(L"C:\\Dir\\a.inf", Join(L"C:\\Dir", L"a.inf").path);
    EXPECT_EQ(L"C:\\Dir\\a.inf", Join(L"C:\\Dir\\\\\\", L"a.inf").path);
    EXPECT_EQ(L"C:\\Dir\\a.inf", Join(L"C:\\Dir\\", L"a.inf").path);
    EXPECT_EQ(L"C:\\a.inf", Join(L"C:\\", L"a.inf").path);
    EXPECT_EQ(L"D:\\Pkg\\TQSetup.ini", Join(L"D:\\Pkg", L"TQSetup.ini").path);
}

TEST(JoinPath, CutsTheDirectoryInPlace)
{
    const Joined joined = Join(L"C:\\Dir\\\\\\", L"a.inf");
    EXPECT_TRUE(joined.ok);
    EXPECT_EQ(L"C:\\Dir\\", joined.directoryAfter);
    EXPECT_EQ(L"C:\\Dir", Join(L"C:\\Dir", L"a.inf").directoryAfter);
}

TEST(JoinPath, CutsTrailingBackslashesOfTheResult)
{
    EXPECT_EQ(L"C:\\Dir\\sub\\", Join(L"C:\\Dir", L"sub\\\\\\").path);
    EXPECT_EQ(L"C:\\Pkg\\", Join(L"C:\\Pkg\\", L"").path);
}

TEST(JoinPath, NeverLooksAtTheFirstTwoCharacters)
{
    // Four backslashes: the run is cut down to the first three only.
    EXPECT_EQ(L"\\\\\\a.inf", Join(L"\\\\\\\\", L"a.inf").path);
    EXPECT_EQ(L"\\\\a", Join(L"\\\\", L"a").path);
}

TEST(JoinPath, FailsWithoutDirectoryOrName)
{
    wchar_t result[SETUP_PATH_SIZE] = L"untouched";
    wchar_t dir[SETUP_PATH_SIZE] = L"C:\\Dir";
    EXPECT_FALSE(JoinPath(result, nullptr, L"a.inf"));
    EXPECT_FALSE(JoinPath(result, dir, nullptr));
    EXPECT_STREQ(L"untouched", result);
}

TEST(JoinPath, RefusesAResultLongerThan259Characters)
{
    const std::wstring dir = L"C:\\" + std::wstring(250, L'd');
    const Joined fits = Join(dir, L"12345");  // 3 + 250 + 1 + 5 = 259
    EXPECT_TRUE(fits.ok);
    EXPECT_EQ(259u, fits.path.size());
    const Joined tooLong = Join(dir, L"123456");
    EXPECT_FALSE(tooLong.ok);
    EXPECT_EQ(L"", tooLong.path);
}

std::wstring Quote(const std::wstring& path, bool* ok)
{
    wchar_t buffer[SETUP_PATH_SIZE] = {};
    path.copy(buffer, SETUP_PATH_SIZE - 1);
    *ok = QuoteArgument(buffer);
    return buffer;
}

TEST(QuoteArgument, QuotesAndDropsOneTrailingBackslash)
{
    bool ok = false;
    EXPECT_EQ(L"\"D:\\Pkg\"", Quote(L"D:\\Pkg\\", &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(L"\"D:\\Pkg\"", Quote(L"D:\\Pkg", &ok));
    EXPECT_EQ(L"\"D:\\Pkg\\x64\\Setup64.exe\"", Quote(L"D:\\Pkg\\x64\\Setup64.exe", &ok));
    EXPECT_EQ(L"\"D:\\Pkg\\\"", Quote(L"D:\\Pkg\\\\", &ok));
    EXPECT_EQ(L"\"D:\"", Quote(L"D:\\", &ok));
}

TEST(QuoteArgument, LeavesAPathThatWouldNotFitUnchanged)
{
    bool ok = false;
    const std::wstring longest = std::wstring(257, L'p');
    EXPECT_EQ(L"\"" + longest + L"\"", Quote(longest, &ok));
    EXPECT_TRUE(ok);
    // 258 characters with a trailing backslash lose it and fit.
    const std::wstring withBackslash = std::wstring(257, L'p') + L"\\";
    EXPECT_EQ(L"\"" + longest + L"\"", Quote(withBackslash, &ok));
    EXPECT_TRUE(ok);
    // Quotes around 258 characters would take the whole buffer and leave no room for the end.
    const std::wstring tooLong = std::wstring(258, L'p');
    EXPECT_EQ(tooLong, Quote(tooLong, &ok));
    EXPECT_FALSE(ok);
    const std::wstring longest259 = std::wstring(258, L'p') + L"\\";
    EXPECT_EQ(longest259, Quote(longest259, &ok));
    EXPECT_FALSE(ok);
}

std::wstring Strip(const std::wstring& field)
{
    wchar_t buffer[SETUP_PATH_SIZE] = {};
    field.copy(buffer, SETUP_PATH_SIZE - 1);
    StripFieldPrefix(buffer);
    return buffer;
}

TEST(StripFieldPrefix, DropsTheBlankOrThePrefixBeforeTheValue)
{
    EXPECT_EQ(L"x64", Strip(L" x64"));
    EXPECT_EQ(L"x64", Strip(L"1:x64"));
    EXPECT_EQ(L"C:\\Target", Strip(L" 1:C:\\Target"));
    EXPECT_EQ(L"x64\\spool", Strip(L" x64\\spool"));
}

TEST(StripFieldPrefix, CutsFieldsWrittenWithoutPrefix)
{
    EXPECT_EQ(L"64", Strip(L"x64"));
    EXPECT_EQ(L"in", Strip(L"bin"));
    // Everything up to the character after a "1" or ":" goes.
    EXPECT_EQ(L"files", Strip(L" pack1 files"));
    EXPECT_EQ(L"Out", Strip(L"D:\\Out"));
    EXPECT_EQ(L"", Strip(L"12"));
    EXPECT_EQ(L"", Strip(L"1"));
    EXPECT_EQ(L"", Strip(L" "));
    EXPECT_EQ(L"", Strip(L""));
}

TEST(StaysInFolder, RefusesNamesThatLeadOutOfTheirFolder)
{
    const struct {
        const wchar_t* name;
        bool stays;
    } names[] = {
        {L"a.dll", true},        {L"sub\\a.dll", true},     {L"sub/a.dll", true},     {L".hidden", true},
        {L"a..b.dll", true},     {L"..a.dll", true},         {L"a.", true},            {L"", true},
        {L".", true},            {L"sub\\.\\a.dll", true},  {L"..", false},           {L"..\\a.dll", false},
        {L"../a.dll", false},    {L"sub\\..\\..\\a.dll", false}, {L"sub\\..", false},  {L"...\\a.dll", false},
        {L".. \\a.dll", false}, {L". .\\a.dll", false},   {L"\\a.dll", false},      {L"/a.dll", false},
        {L"\\\\server\\share\\a.dll", false}, {L"C:a.dll", false}, {L"C:\\a.dll", false},
        {L"a.dll:stream", false}, {L"\\\\?\\C:\\a.dll", false},
        {L"NUL", false},          {L"com1.dll", false},       {L"LPT9 .txt", false},     {L"sub\\CON", false},
        {L"conout$", false},      {L"COM10.dll", true},       {L"NULL.dll", true},       {L"xNUL", true},
    };
    for (const auto& entry : names)
        EXPECT_EQ(entry.stays, StaysInFolder(entry.name)) << testing::PrintToString(std::wstring(entry.name));
}

TEST(StringList, KeepsCopiesInOrderAndGrows)
{
    StringList list;
    wchar_t text[8] = L"item";
    for (int i = 0; i < 20; ++i) {
        text[4] = static_cast<wchar_t>(L'a' + i);
        ASSERT_TRUE(list.Add(text));
    }
    text[0] = L'X';
    ASSERT_EQ(20, list.Count());
    EXPECT_STREQ(L"itema", list.At(0));
    EXPECT_STREQ(L"items", list.At(18));
    list.Clear();
    EXPECT_EQ(0, list.Count());
    ASSERT_TRUE(list.Add(L""));
    EXPECT_STREQ(L"", list.At(0));
}

}  // namespace
