// pkgcheck and install's readers on the generated scripts of the campaign, in
// the code page of the run: every entry that install refuses or skips (the
// settings load's message 1, an [Install] or [Group] target left empty, a
// link name it cannot write, a [Reg] line it answers with message 27) has an
// error or warning of pkgcheck on its line, and no entry install takes
// silently has an error, except the findings about the package's contents
// (a source that is not in the package, a target that is not installed),
// which no script alone decides.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "file_lines.h"
#include "globals.h"
#include "install_entries.h"
#include "install_script.h"
#include "install_settings.h"
#include "messages.h"
#include "package_check.h"
#include "package_folder.h"
#include "registry_package_keys.h"
#include "scratch_registry.h"
#include "script_generator.h"
#include "seeded_random.h"
#include "settings_fixture.h"
#include "shortcut_item.h"
#include "shortcuts.h"
#include "test_files.h"

using namespace campaign;
using installer_testing::Ansi;

namespace {

const int kCasesPerCodePage = 300;
const int kShownDisagreements = 20;

// What install.exe of a 32-bit build reads on 64-bit Windows; pkgcheck
// models the install folder below it.
const char kProgramFiles[] = "C:\\Program Files (x86)";
const wchar_t kCurrentVersion[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

struct Finding {
    int line;
    bool error;
    std::string text;
};

// Findings about the package's files, or about a copy the copy itself
// reports (onto a folder), not about what install's readers make of the
// script.
bool IsContentFinding(const std::string& text)
{
    for (const char* content : {"is not in the package", "is not installed", "names no source file",
                                "copies it from the user's machine", "folder itself"}) {
        if (text.find(content) != std::string::npos)
            return true;
    }
    return false;
}

// install's verdict on entry n of a section: true when it refuses or skips it.
typedef bool (*InstallVerdict)(int n, const char* value);

bool InstallEntryRefused(int n, const char*)
{
    ResolveInstallEntry(n);
    return g_entryTarget[0] == '\0';
}

// The program-menu folder of a group, for the link files.
std::string g_menuFolder;

// A link install refuses, or one whose file the system cannot make.
bool GroupEntryRefused(int n, const char*)
{
    ShortcutItem item;
    ReadShortcutItem(n, &item);
    char link[kPathSize];
    if (item.target[0] == '\0' || !FormatLinkPath(link, g_menuFolder.c_str(), item.name))
        return true;
    HANDLE file = CreateFileA(link, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(file);
    return false;
}

bool RegEntryRefused(int, const char* value)
{
    HKEY root = nullptr;
    char keyPath[kPathSize];
    return ClassifyRegEntry(value, CP_ACP, &root, keyPath) != RegEntryDeletable;
}

struct EntryRule {
    const char* section;
    const char* findingPrefix;  // pkgcheck's findings on the entry begin so
    InstallVerdict refused;
    bool inInstallDir;  // an install folder that does not fit refuses them all
};

const EntryRule kEntryRules[] = {
    {"Install", "[Install] entry ", InstallEntryRefused, true},
    {"Group", "[Group] entry ", GroupEntryRefused, true},
    {"Reg", "[Reg] entry ", RegEntryRefused, false},
};

const char kInstallDirTooLong[] = "the install folder made of Folder is longer than";

class CheckerDifferential : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleW(nullptr);
        g_hwndOwner = nullptr;
        codePage_ = GetACP();
        char wanted[8] = "1252";
        GetEnvironmentVariableA("INSTALLER_TEST_CODE_PAGE", wanted, sizeof(wanted));
        ASSERT_EQ(std::string(wanted), std::to_string(codePage_)) << "the run's locale did not take";
        g_menuFolder = Ansi(menu_.Path()) + "\\";
        ASSERT_TRUE(registry_.SetSetting(true, kCurrentVersion, "ProgramFilesDir", kProgramFiles));
        ASSERT_TRUE(registry_.SetSetting(true, std::wstring(L"Software\\Wow6432Node\\") + (kCurrentVersion + 9),
                                         "ProgramFilesDir", kProgramFiles));
        damaged_ = installer_testing::Wide(GetText(IDS_DAMAGED_SCRIPT));
    }

    // pkgcheck's findings on the package folder, from its output.
    std::vector<Finding> RunChecker(const std::wstring& packageDir)
    {
        PackageFolder package;
        EXPECT_TRUE(package.Open(packageDir.c_str()));
        const std::wstring outputPath = output_ / L"findings.txt";
        HANDLE file = CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file);
        HANDLE standardOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        SetStdHandle(STD_OUTPUT_HANDLE, file);
        CheckPackage(package);
        SetStdHandle(STD_OUTPUT_HANDLE, standardOutput);
        CloseHandle(file);
        std::istringstream text(testing_support::ReadFileBytes(outputPath));
        std::vector<Finding> findings;
        for (std::string line; std::getline(text, line);) {
            int number = 0;
            char kind[8] = "";
            int textStart = 0;
            if (std::sscanf(line.c_str(), "install.INF:%d: %7[a-z]: %n", &number, kind, &textStart) == 2 && textStart)
                findings.push_back(Finding{number, std::strcmp(kind, "error") == 0, line.substr(textStart)});
        }
        return findings;
    }

    // install's settings load: false when it stops the run (message 1).
    bool LoadSettings(const std::wstring& scriptPath)
    {
        ScratchRegistry::Redirect settings(registry_, ScratchRegistry::SettingsRoots);
        EXPECT_TRUE(settings.Active());
        lstrcpynA(g_scriptPath, Ansi(scriptPath).c_str(), kPathSize);
        lstrcpynA(g_scriptName, "install.INF", kFileNameSize);
        lstrcpynA(g_programName, "install.exe", kFileNameSize);
        return LoadInstallSettings();
    }

    // Compares the two on the line of one entry.
    void Compare(const std::vector<Finding>& findings, int line, const std::string& prefix, bool refused,
                 bool reportedForAll, const std::string& what)
    {
        ++entries_;
        bool reported = reportedForAll;
        for (const Finding& finding : findings) {
            // "[Install] entry 2" is not "[Install] entry 20".
            if (finding.line != line || finding.text.compare(0, prefix.size(), prefix) != 0 ||
                (finding.text[prefix.size()] >= '0' && finding.text[prefix.size()] <= '9'))
                continue;
            reported = true;
            if (!refused && finding.error && !IsContentFinding(finding.text))
                Disagree(what + ": install takes it silently, pkgcheck says: " + finding.text);
        }
        if (refused && !reported)
            Disagree(what + ": install refuses or skips it, pkgcheck says nothing");
    }

    // Counts every disagreement, shows the first few.
    void Disagree(const std::string& what)
    {
        if (++disagreements_ <= kShownDisagreements)
            ADD_FAILURE() << what;
    }

    // The settings: install's message 1 is an error of pkgcheck about Title,
    // Folder or the uninstall key made of them, and a script install loads
    // has none.
    void CompareSettings(const std::vector<Finding>& findings, const FileLines& lines, bool loaded,
                         const std::string& name)
    {
        ++entries_;
        bool reported = false;
        for (const wchar_t* key : {L"Title", L"Folder", L"InstallKey"}) {
            for (const Finding& finding : findings) {
                reported |= finding.line == lines.KeyLine(L"Install", key) && finding.error &&
                            (finding.text.find("message 1 ") != std::string::npos ||
                             finding.text.find("uninstall key") != std::string::npos);
            }
        }
        if (reported == loaded)
            Disagree(name + ": install " + (loaded ? "loads" : "refuses") + " the settings, pkgcheck " +
                     (reported ? "has an error about them" : "says nothing"));
    }

    void RunCase(uint64_t n)
    {
        // A folder of its own: both read a script once per path.
        const std::wstring packageDir = dir_ / (L"c" + std::to_wstring(n));
        const std::wstring scriptPath = packageDir + L"\\install.INF";
        const GeneratedScript script = GenerateScript(n, codePage_);
        ASSERT_TRUE(CreateDirectoryW(packageDir.c_str(), nullptr));
        ASSERT_TRUE(testing_support::WriteFileBytes(scriptPath, script.text));
        const std::string name = "script " + std::to_string(n) + " of code page " + std::to_string(codePage_);
        const std::vector<Finding> findings = RunChecker(packageDir);
        FileLines lines;
        ASSERT_TRUE(lines.Load(scriptPath.c_str()));
        const size_t boxes = answerer_.Count();
        const bool loaded = LoadSettings(scriptPath);
        // Only message 1 is the script's own; message 2 would be the registry's.
        if (!loaded && (answerer_.Count() == boxes || answerer_.Seen().back().text != damaged_))
            return;
        ++scripts_;
        CompareSettings(findings, lines, loaded, name);
        if (!loaded)
            return;
        bool installDirTooLong = false;
        for (const Finding& finding : findings)
            installDirTooLong |= finding.text.compare(0, sizeof(kInstallDirTooLong) - 1, kInstallDirTooLong) == 0;
        for (const EntryRule& rule : kEntryRules) {
            for (int number = 1;; ++number) {
                char value[kPathSize];
                const std::string key = std::to_string(number);
                if (ReadScriptText(rule.section, key.c_str(), value, kPathSize) == 0)
                    break;
                const bool refused = rule.refused(number, value);
                Compare(findings,
                        lines.KeyLine(installer_testing::Wide(rule.section).c_str(),
                                      installer_testing::Wide(key.c_str()).c_str()),
                        rule.findingPrefix + key, refused, rule.inInstallDir && installDirTooLong,
                        name + " [" + rule.section + "] " + key + "=" + value);
            }
        }
    }

    UINT codePage_ = 0;
    testing_support::ScratchDir dir_{L"differential"};
    testing_support::ScratchDir output_{L"findings"};
    testing_support::ScratchDir menu_{L"menu"};
    ScratchRegistry registry_;
    testing_support::BoxAnswerer answerer_{{}, IDOK, 1};
    std::wstring damaged_;
    int scripts_ = 0;
    int entries_ = 0;
    int disagreements_ = 0;
};

TEST_F(CheckerDifferential, PkgcheckReportsWhatInstallRefusesAndNothingElse)
{
    const int cases = testing_support::CampaignCaseCount(kCasesPerCodePage);
    for (int n = 0; n < cases && !HasFatalFailure(); ++n)
        RunCase(static_cast<uint64_t>(n));
    std::printf("code page %u: %d scripts, %d entries compared, %d disagreements\n", codePage_, scripts_, entries_,
                disagreements_);
    EXPECT_EQ(0, disagreements_);
}

}  // namespace
