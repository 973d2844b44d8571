// ScheduleDeleteAtRestart through the platform's pending renames, and its
// "wininit.ini" fall-back on the Windows directory of the test prefix (the
// file is backed up and put back around each test).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry_fixture.h"
#include "restart_delete.h"
#include "settings_fixture.h"
#include "test_files.h"

using namespace installer_testing;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

namespace {

const wchar_t kSessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";
const int kSectionSize = 32767;

std::wstring WininitPath()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\wininit.ini";
}

// Drops the profile functions' cached copy, so the next read sees the file.
void ForgetCachedProfile()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "wininit.ini");
}

std::vector<std::string> RenameSectionLines()
{
    ForgetCachedProfile();
    std::vector<char> buffer(65536);
    GetPrivateProfileSectionA("rename", buffer.data(), DWORD(buffer.size()), "wininit.ini");
    std::vector<std::string> lines;
    for (const char* line = buffer.data(); *line; line += lstrlenA(line) + 1)
        lines.push_back(line);
    return lines;
}

// A section "rename" whose lines take exactly length characters as the
// profile functions return them (each line with its zero).
std::string RenameSectionOfLength(size_t length)
{
    std::string text = "[rename]\r\n";
    const size_t fullLines = (length - 20) / 101;
    for (size_t i = 0; i <= fullLines; ++i) {
        char key[16];
        wsprintfA(key, "L%05u=", unsigned(i));
        const size_t lineLength = i < fullLines ? 100 : length - 101 * fullLines - 1;
        text += key + std::string(lineLength - 7, 'x') + "\r\n";
    }
    return text;
}

class RestartDeleteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hadWininit_ = FileExists(wininit_);
        if (hadWininit_)
            saved_ = ReadFileBytes(wininit_);
        DeleteFileW(wininit_.c_str());
        ForgetCachedProfile();
        ASSERT_TRUE(WriteFileBytes(victim_, "copy of install"));
        char shortPath[MAX_PATH] = {};
        ASSERT_GT(GetShortPathNameA(Ansi(victim_).c_str(), shortPath, MAX_PATH), 0u);
        shortVictim_ = shortPath;
        ASSERT_EQ(std::string::npos, shortVictim_.find(' ')) << shortVictim_;
        entry_ = "NUL=" + shortVictim_;
    }

    void TearDown() override
    {
        if (hadWininit_)
            WriteFileBytes(wininit_, saved_);
        else
            DeleteFileW(wininit_.c_str());
        ForgetCachedProfile();
    }

    void WriteWininit(const std::string& text)
    {
        ASSERT_TRUE(WriteFileBytes(wininit_, text));
        ForgetCachedProfile();
    }

    void AddEntry()
    {
        AddWininitDeleteEntry(Ansi(victim_).c_str());
        ForgetCachedProfile();
    }

    const std::wstring wininit_ = WininitPath();
    bool hadWininit_ = false;
    std::string saved_;
    ScratchDir dir_{L"restart"};
    const std::wstring victim_ = dir_ / L"scheduled for removal.exe";
    std::string shortVictim_;
    std::string entry_;
};

TEST_F(RestartDeleteTest, ScheduledThroughPendingRenamesWithoutWininit)
{
    ScopedRegistryValue pending(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations");
    ASSERT_TRUE(pending.Remove());
    ScheduleDeleteAtRestart(Ansi(victim_).c_str());

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_READ, &key));
    std::vector<wchar_t> data(8192);
    DWORD size = DWORD(data.size() * sizeof(wchar_t)) - 2 * sizeof(wchar_t);
    LONG read = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, read);
    // Pairs of source and destination; an empty destination means delete.
    std::vector<std::wstring> names;
    for (const wchar_t* name = data.data(); name < data.data() + size / sizeof(wchar_t);
         name += lstrlenW(name) + 1)
        names.push_back(name);
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(L"\\??\\" + victim_, names[0]);
    EXPECT_EQ(L"", names[1]);
    EXPECT_FALSE(FileExists(wininit_));
}

TEST_F(RestartDeleteTest, FallbackCreatesSectionWithShortPath)
{
    AddEntry();
    EXPECT_EQ(std::vector<std::string>{entry_}, RenameSectionLines());
}

TEST_F(RestartDeleteTest, FallbackFillsEmptySection)
{
    WriteWininit("[boot]\r\nx=1\r\n[rename]\r\n");
    AddEntry();
    EXPECT_EQ(std::vector<std::string>{entry_}, RenameSectionLines());
    EXPECT_EQ(1u, GetPrivateProfileIntA("boot", "x", 0, "wininit.ini"));
}

TEST_F(RestartDeleteTest, FallbackLeavesFileAloneWhenLineIsThere)
{
    const std::string text = "[rename]\r\nNUL=C:\\OTHER.TMP\r\n" + entry_ + "\r\n";
    WriteWininit(text);
    AddEntry();
    EXPECT_EQ(text, ReadFileBytes(wininit_));
}

TEST_F(RestartDeleteTest, FallbackKeepsOtherLinesAndAddsItsOwnLast)
{
    WriteWininit("[rename]\r\nNUL=C:\\FIRST.TMP\r\nNUL=C:\\SECOND.TMP\r\nC:\\NEW.DLL=C:\\OLD.DLL\r\n"
                 "[later]\r\nkeep=yes\r\n");
    AddEntry();
    std::vector<std::string> expected = {"NUL=C:\\FIRST.TMP", "NUL=C:\\SECOND.TMP",
                                         "C:\\NEW.DLL=C:\\OLD.DLL", entry_};
    EXPECT_EQ(expected, RenameSectionLines());
    char keep[8] = {};
    GetPrivateProfileStringA("later", "keep", "", keep, sizeof(keep), "wininit.ini");
    EXPECT_STREQ("yes", keep);
}

// A line that differs only in letter case is another line.
TEST_F(RestartDeleteTest, FallbackComparesLinesExactly)
{
    std::string lower = entry_;
    CharLowerA(&lower[0]);
    ASSERT_NE(lower, entry_);
    WriteWininit("[rename]\r\n" + lower + "\r\n");
    AddEntry();
    EXPECT_EQ((std::vector<std::string>{lower, entry_}), RenameSectionLines());
}

TEST_F(RestartDeleteTest, FallbackWritesNothingForSectionTooLargeToRead)
{
    const std::string text = RenameSectionOfLength(40000);
    WriteWininit(text);
    AddEntry();
    EXPECT_EQ(text, ReadFileBytes(wininit_));
}

TEST_F(RestartDeleteTest, FallbackWritesNothingWithoutRoomForItsLine)
{
    // The section, the line with its zero and the final zero must fit into
    // the 32767 characters of the section buffer.
    const std::string text = RenameSectionOfLength(kSectionSize - entry_.size() - 1);
    WriteWininit(text);
    AddEntry();
    EXPECT_EQ(text, ReadFileBytes(wininit_));
}

TEST_F(RestartDeleteTest, FallbackUsesTheLastRoomThereIs)
{
    const size_t length = kSectionSize - entry_.size() - 2;
    WriteWininit(RenameSectionOfLength(length));
    AddEntry();
    std::vector<std::string> lines = RenameSectionLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(entry_, lines.back());
    size_t total = 0;
    for (const auto& line : lines)
        total += line.size() + 1;
    EXPECT_EQ(length + entry_.size() + 1, total);
}

TEST_F(RestartDeleteTest, FallbackWritesNothingForMissingFile)
{
    AddWininitDeleteEntry(Ansi(dir_ / L"already gone.exe").c_str());
    EXPECT_FALSE(FileExists(wininit_));
}

}  // namespace
