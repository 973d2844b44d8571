// Hand-picked malformed install scripts through the real install.exe: each
// run ends with exit code 1 after its message (message 1 for a script that
// cannot be used, else the wizard and the run's own messages), never with a
// hang or a crash.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "install_wizard_driver.h"
#include "seeded_random.h"
#include "wizard_e2e_fixture.h"

using namespace testing_support;
using namespace wizard_testing;

namespace {

const wchar_t kDamaged[] = L"Damaged file, or NO Information file.";

std::string Usable(const std::string& more)
{
    return "[Install]\r\nTitle=Malformed Tool\r\nFolder=Malformed\r\nInstallKey=MalformedCampaign\r\n" + more;
}

std::string Garbage(size_t size)
{
    SeededRandom random(size);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random.Below(256));
    return bytes;
}

struct MalformedCase {
    const char* name;
    std::vector<std::pair<std::wstring, std::string>> files;  // medium files beside install.exe
    bool wizard;                        // false: refused with message 1
    std::vector<std::wstring> runBoxes;  // the run's messages, in order
    std::function<void(const Medium&)> prepare;
};

void WriteManyFiles(const Medium& medium)
{
    for (int i = 0; i <= 1000; ++i)
        medium.Write(L"tree\\f" + std::to_wstring(i) + L".txt", "x");
}

const MalformedCase kCases[] = {
    {"empty file", {{L"install.INF", ""}}, false, {}, nullptr},
    {"binary garbage", {{L"install.INF", Garbage(4096)}}, false, {}, nullptr},
    {"no [Install] section", {{L"install.INF", "[Group]\r\n1=Tool,tool.exe\r\n[Reg]\r\n1=HKEY_CURRENT_USER\\X\r\n"}},
     false, {}, nullptr},
    {"Title only", {{L"install.INF", "[Install]\r\nTitle=Only A Title\r\n"}}, false, {}, nullptr},
    {"enormous lines without Folder",
     {{L"install.INF", "[Install]\r\nTitle=" + std::string(200000, 't') + "\r\nX=" + std::string(300000, 'x') + "\r\n"}},
     false, {}, nullptr},
    {"0-byte plain script beside a 1 MB one",
     {{L"install.INF", ""}, {L"installE.INF", Usable("1=readme.txt\r\n; " + std::string(1 << 20, 'p') + "\r\n")}},
     false, {}, nullptr},
    {"Folder of separators only", {{L"install.INF", "[Install]\r\nTitle=Slashes\r\nFolder=\\/\\\r\n"}}, false, {},
     nullptr},
    {"enormous lines around a usable script",
     {{L"install.INF", "; " + std::string(100000, 'c') + "\r\n" + Usable("1=readme.txt\r\nJunk=" +
                                                                          std::string(100000, 'j') + "\r\n")},
      {L"readme.txt", "read me"}},
     true, {}, nullptr},
    {"script in the wrong code page",
     {{L"install.INF", "[Install]\r\nTitle=\x83\x5C\x83\x74\x83\x67\r\nFolder=Malformed\\\x83\x5C\x83\x74\x83\x67\r\n"
                       "InstallKey=MalformedCampaign\r\n1=readme.txt, \x95\x5C\\readme.txt\r\n"},
      {L"readme.txt", "read me"}},
     true, {}, nullptr},
    {"deep \"..\" targets",
     {{L"install.INF", Usable("1=readme.txt, ..\\..\\..\\..\\..\\..\\..\\..\\escaped.txt\r\n"
                              "2=readme.txt, S!..\\..\\escaped.txt\r\n3=readme.txt, W!..\\escaped.txt\r\n"
                              "4=readme.txt, readme.txt:stream\r\n5=readme.txt\r\n")},
      {L"readme.txt", "read me"}},
     true,
     // The title shortcut points at entry 1, whose target was refused.
     {L"Failed in copying readme.txt", L"Failed in copying readme.txt", L"Failed in copying readme.txt",
      L"Failed in copying readme.txt", L"Failed in copying Malformed Tool"},
     nullptr},
    {"[Group] without commas",
     {{L"install.INF", Usable("1=readme.txt\r\n[Group]\r\n1=JustAName\r\n2=Another Name\r\n")},
      {L"readme.txt", "read me"}},
     true, {}, nullptr},
    {"CopyAll over more than 1000 files", {{L"install.INF", Usable("CopyAll=1\r\n")}}, true, {}, WriteManyFiles},
    {"duplicated and reordered sections and keys",
     {{L"install.INF", "[Group]\r\n1=Read,readme.txt\r\n" + Usable("1=readme.txt\r\n1=other.txt\r\nTitle=Second\r\n") +
                           "[Install]\r\nFolder=Elsewhere\r\n2=readme.txt\r\n"},
      {L"readme.txt", "read me"}},
     true, {}, nullptr},
};

class MalformedScripts : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, UninstallEntryKey(L"MalformedCampaign").c_str()); }

    ScopedShellFolders shell_;
    ScratchDir target_{L"malformed"};
};

}  // namespace

TEST_F(MalformedScripts, EachEndsWithExitCodeOneAndItsMessage)
{
    ASSERT_TRUE(shell_.Ready());
    const std::vector<std::wstring> escapes = {L"C:\\escaped.txt", WindowsDirectory() + L"\\escaped.txt",
                                               target_.Path() + L"\\escaped.txt"};
    for (const std::wstring& escaped : escapes)
        DeleteFileW(escaped.c_str());
    for (const MalformedCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Medium medium;
        ASSERT_TRUE(medium.Ready());
        for (const auto& file : c.files)
            ASSERT_TRUE(medium.Write(file.first, file.second));
        if (c.prepare)
            c.prepare(medium);
        RunningProgram program;
        ASSERT_TRUE(medium.Start(&program));

        if (c.wizard) {
            WizardChoices choices;
            choices.destination = target_ / (L"case" + std::to_wstring(&c - kCases));
            WizardWalk walk = WalkInstallWizard(program, choices, kWaitMs);
            EXPECT_TRUE(walk.completed) << walk.failure;
            std::vector<std::wstring> texts;
            for (const MessageBoxSeen& box : walk.runBoxes)
                texts.push_back(box.text);
            EXPECT_EQ(c.runBoxes, texts);
        } else {
            MessageBoxSeen seen;
            EXPECT_TRUE(AnswerNextMessageBox(program.Id(), IDOK, kWaitMs, &seen));
            EXPECT_EQ(kDamaged, seen.text);
        }
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(kWaitMs, &exitCode)) << "a hang";
        EXPECT_EQ(1u, exitCode);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, UninstallEntryKey(L"MalformedCampaign").c_str());
    }
    for (const std::wstring& escaped : escapes) {
        EXPECT_FALSE(FileExists(escaped)) << escaped;
        DeleteFileW(escaped.c_str());
    }
}
