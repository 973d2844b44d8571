// The install script held in memory must read exactly as
// GetPrivateProfileStringA reads the file: every key of the sample scripts
// and of scripts made of the format's edge cases, looked up in many
// spellings and with several buffer sizes. The program runs under code pages
// 1252, 932 and 936 (INSTALLER_TEST_CODE_PAGE).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "globals.h"
#include "install_script.h"
#include "settings_fixture.h"

using installer_testing::Ansi;
using installer_testing::ScriptFile;

namespace {

std::string Repeat(const std::string& unit, int count)
{
    std::string text;
    while (count-- > 0)
        text += unit;
    return text;
}

const DWORD kSizes[] = {kPathSize, kTitleSize, 2, 1};

// Names to ask for: those the file's lines give (section names from "["
// lines, key names from the others) as they stand, trimmed, in upper case
// and between blanks, and names that are not there.
struct NamesToAsk {
    std::set<std::string> sections = {"Install", "Group", "", "missing"};
    std::set<std::string> keys = {"1", "2", "3", "", "missing"};
};

NamesToAsk NamesOf(const std::string& text)
{
    NamesToAsk names;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        bool section = !line.empty() && line[0] == '[';
        std::string name = section ? line.substr(1, line.rfind(']') - 1) : line.substr(0, line.find('='));
        std::string trimmed = name;
        trimmed.erase(0, trimmed.find_first_not_of(" \t"));
        trimmed.erase(trimmed.find_last_not_of(" \t") + 1);
        std::string upper = trimmed;
        CharUpperBuffA(&upper[0], DWORD(upper.size()));
        (section ? names.sections : names.keys).insert({name, trimmed, upper, " " + trimmed + " "});
    }
    return names;
}

// Every pair of NamesOf(text), read through ReadScriptText and by
// GetPrivateProfileStringA into zeroed buffers (where a double-byte
// character does not fit, the latter leaves the byte before the end as it was).
void ExpectSameReading(const std::string& text, const std::string& label)
{
    NamesToAsk names = NamesOf(text);
    for (const std::string& section : names.sections) {
        for (const std::string& key : names.keys) {
            for (DWORD size : kSizes) {
                std::vector<char> held(kPathSize), profile(kPathSize);
                DWORD heldLength = ReadScriptText(section.c_str(), key.c_str(), held.data(), size);
                DWORD profileLength =
                    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", profile.data(), size, g_scriptPath);
                ASSERT_EQ(profileLength, heldLength) << label << " [" << section << "] " << key << " size " << size;
                ASSERT_EQ(std::string(profile.data(), size), std::string(held.data(), size))
                    << label << " [" << section << "] " << key << " size " << size;
            }
        }
    }
}

class ScriptReading : public ::testing::Test {
protected:
    void SetUp() override
    {
        char wanted[8] = "1252";
        GetEnvironmentVariableA("INSTALLER_TEST_CODE_PAGE", wanted, sizeof(wanted));
        ASSERT_EQ(std::to_string(GetACP()), wanted);
    }
};

TEST_F(ScriptReading, SampleScriptsReadAlike)
{
    for (const wchar_t* name : {L"installE.INF", L"installJ.INF", L"installC.INF"}) {
        lstrcpynA(g_scriptPath, Ansi(std::wstring(SAMPLE_PACKAGE_DIR) + L"\\" + name).c_str(), kPathSize);
        ExpectSameReading(testing_support::ReadFileBytes(std::wstring(SAMPLE_PACKAGE_DIR) + L"\\" + name),
                          Ansi(name));
    }
}

TEST_F(ScriptReading, EdgeCasesOfTheFormatReadAlike)
{
    // Double-byte letters (code pages 932 and 936), one whose trail byte is
    // "]", and the ideographic space of each.
    const std::string kana = "\x82\xa0", hanzi = "\xb0\xa1", bracketTrail = "\x83\x5d";
    const std::string wideSpace932 = "\x81\x40", wideSpace936 = "\xa1\xa1";
    const std::string cases[] = {
        "[Install]\r\n1=first\r\n1=second\r\nTITLE=upper\r\ntitle=lower\r\n",
        "  [Install]  \r\n  Title  =  spaced value  \r\n\tTab\t=\tv\t\r\n=no name\r\n",
        "; comment\r\n[Install]\r\n;1=commented\r\n1=a ; not a comment\r\n# 2=hash\r\n",
        "[Install]\r\nNoEquals\r\n1\r\n1=shadowed\r\n2=\r\n3=x\r\n",
        "[Install]\r\n1=" + Repeat("a", 258) + "\r\n2=" + Repeat("b", 259) + "\r\n3=" + Repeat("c", 260) +
            "\r\n4=\"" + Repeat("q", 258) + "\"\r\n5=\"" + Repeat("r", 259) + "\"\r\n6=" + Repeat("d", 99) + "\r\n",
        "[Install]\r\n1=" + Repeat(kana, 130) + "\r\n2=a" + Repeat(kana, 130) + "\r\n3=" + Repeat(hanzi, 130) +
            "\r\n4=a" + Repeat(hanzi, 130) + "\r\n5=" + Repeat(kana, 49) + "a" + Repeat(kana, 3) + "\r\n",
        "[" + bracketTrail + "]\r\n" + bracketTrail + "=" + bracketTrail + "]\r\n[" + kana + "x]\r\nk" + kana +
            "=v\r\n[Install]\r\n1" + wideSpace932 + "=" + wideSpace932 + "v" + wideSpace932 + "\r\n2" +
            wideSpace936 + "=" + wideSpace936 + "w" + wideSpace936 + "\r\n",
        "[Install]\r\n1=a\r\n[Group]\r\n1=g\r\n[install]\r\n2=b\r\n1=c\r\n[Reg]\r\n",
        "[Install]\n1=lf\n\n2=lf2\r3=cr\r\r\n\n\r4=mixed\n\r5=last without end",
        "1=before any section\r\n[Inst]all]\r\n1=x\r\n[Install\r\n2=y\r\n[ Install ]\r\n3=z\r\n[]\r\n4=w\r\n",
        "[Install]\r\n1=\"quoted\"\r\n2='single'\r\n3=\"open\r\n4=\"\"\r\n5=\"a\"b\"\r\n6=\"\r\n7='mixed\"\r\n",
        "[Install]\r\n1=ab" + std::string(1, '\0') + "cd\r\n2=\x1a" "v\x1a\r\n\x1a\r\n3=\v\f x\r\n",
        "[Install]\r\n\xe9t\xe9=accent\r\n\x82\x81=fullwidth 932\r\n\xa3\xe1=fullwidth 936\r\n",
        "",
        "\xef\xbb\xbf[Install]\r\n1=after a byte-order mark\r\n",
    };
    int n = 0;
    for (const std::string& text : cases) {
        ScriptFile script(text);
        ExpectSameReading(text, "case " + std::to_string(n++));
    }
}

TEST_F(ScriptReading, MissingScriptReadsEmpty)
{
    testing_support::ScratchDir empty(L"noscript");
    lstrcpynA(g_scriptPath, Ansi(empty / L"install.INF").c_str(), kPathSize);
    ExpectSameReading("[Install]\r\nTitle=x\r\n", "missing file");
}

}  // namespace
