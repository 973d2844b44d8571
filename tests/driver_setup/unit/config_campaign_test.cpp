// The driver installer's bad-input campaign: thousands of generated
// TQSetup.ini files (100 times as many with CAMPAIGN_LONG=1), each read and
// installed in this process through FindOsEntry, ReadSetupConfig,
// InstallDriverPackage and CopyFileGroup into a scratch folder. Every case
// must end without a crash or a hang, with a code of the table, with the
// spooler running, without a file written outside its target folders, and,
// when it reports success, with every listed file installed whole. The file
// is written in the code page of the run (1252, 932 or 936) where it can be.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "campaign_world.h"
#include "case_watch.h"
#include "driver_install.h"
#include "seeded_random.h"
#include "setup_codes.h"
#include "setup_config.h"

namespace {

using namespace driver_setup_campaign;

const uint64_t kCampaignSeed = 0x7153E70000000000ull;
const int kShortRunCases = 2000;
// A case takes well under a second; two minutes is a hang even on a busy machine.
const DWORD kCaseLimitMs = 120000;

const int kTableCodes[] = {SetupSucceeded,   SetupNoOsEntry,        SetupNoDriverList,        SetupNoInfName,
                           SetupNoFileList,  SetupNoGroupCount,     SetupNoGroupName,         SetupBadTargetKind,
                           SetupDriverStoreFailed, SetupSystemCopyFailed, SetupSystemX86CopyFailed,
                           SetupTargetCopyFailed, SetupSpoolerNotStopped};

struct Outcome {
    int code = 0;
    DWORD detail = 0;
    int spoolerStops = 0;
    std::string problem;  // empty when the case kept every property
};

bool Terminated(const wchar_t* text, size_t size)
{
    return wcsnlen(text, size) < size;
}

// What the reader left must lie within its buffers.
std::string CheckBuffers(const DriverSetup& setup, const OsEntryName& entry)
{
    if (!Terminated(entry.text, ARRAYSIZE(entry.text)) || !Terminated(setup.infPath, SETUP_PATH_SIZE))
        return "entry name or INF path overruns its buffer";
    for (int i = 0; i < setup.groupCount; ++i) {
        const FileGroup& group = setup.fileGroups[i];
        if (!Terminated(group.sourceDirectory, SETUP_PATH_SIZE) || !Terminated(group.targetDirectory, SETUP_PATH_SIZE))
            return "a folder of group " + std::to_string(i + 1) + " overruns its buffer";
    }
    return "";
}

// FindOsEntry, ReadSetupConfig and InstallDriverPackage as the entry runs them.
Outcome Install(const CampaignWorld& world, const std::wstring& iniPath, const GeneratedCase& generated,
                CampaignSystem& system)
{
    const std::wstring setupDirectory = world.SetupDirectory(generated.world);
    Outcome outcome;
    OsEntryName entry = {};
    if (!FindOsEntry(iniPath.c_str(), generated.osKey.c_str(), entry)) {
        outcome.code = SetupNoOsEntry;
        return outcome;
    }
    DriverSetup setup(iniPath.c_str(), entry.text, setupDirectory.c_str());
    outcome.code = ReadSetupConfig(setup);
    outcome.problem = CheckBuffers(setup, entry);
    if (outcome.code != SetupSucceeded || !outcome.problem.empty())
        return outcome;
    outcome.code = InstallDriverPackage(setup, system);
    outcome.detail = setup.detailCode;
    if ((outcome.code == SetupSucceeded || outcome.code == SetupSpoolerNotStopped) && outcome.detail != 0)
        outcome.problem = "code " + std::to_string(outcome.code) + " with a detail code";
    const std::string left = outcome.code == SetupSucceeded ? world.FileLeftBehind(setup, system) : "";
    if (outcome.problem.empty() && !left.empty())
        outcome.problem = "success, but " + left + " is not the package's file";
    return outcome;
}

std::string Describe(const std::vector<std::wstring>& paths)
{
    std::string text;
    for (const std::wstring& path : paths)
        text += " " + testing_support::ToCodePage(path, CP_UTF8);
    return text;
}

Outcome RunCase(CampaignWorld& world, const GeneratedCase& generated, testing_support::CaseWatch& watch)
{
    watch.Begin(("campaign case " + std::to_string(generated.seed)).c_str(), "setting up the folders");
    CampaignSystem system(generated.world, world.SystemFolder(generated.world, false),
                          world.SystemFolder(generated.world, true));
    const std::wstring iniPath = world.Prepare(generated, system);
    watch.Step("reading and installing");
    Outcome outcome = Install(world, iniPath, generated, system);
    watch.Step("checking");
    outcome.spoolerStops = system.Stops();
    if (outcome.problem.empty() &&
        std::find(std::begin(kTableCodes), std::end(kTableCodes), outcome.code) == std::end(kTableCodes))
        outcome.problem = "code " + std::to_string(outcome.code) + " is not in the table";
    if (outcome.problem.empty() && !system.SpoolerRunning())
        outcome.problem = "the spooler was left stopped";
    system.LetGo();
    std::vector<std::wstring> strays = world.Clear();
    const std::vector<std::wstring> more = world.StrayEntries(generated.seed % 100 == 0);
    strays.insert(strays.end(), more.begin(), more.end());
    if (outcome.problem.empty() && !strays.empty())
        outcome.problem = "written outside the target folders:" + Describe(strays);
    CampaignWorld::Remove(strays);
    watch.End();
    return outcome;
}

std::string CaseReport(const GeneratedCase& generated, const Outcome& outcome)
{
    std::string mutations;
    for (const char* mutation : generated.mutations)
        mutations += std::string(mutation) + "; ";
    return "case " + std::to_string(generated.seed) + " (" + mutations + "key " +
           testing_support::ToCodePage(generated.osKey, CP_UTF8) + "): " + outcome.problem + "\n" +
           testing_support::ToCodePage(generated.ini.Render(), CP_UTF8);
}

// Faults the campaign found, kept as fixed cases: the sample's file with one
// change ends with its code and detail and writes nothing outside.
struct FixedCase {
    const char* fault;
    void (*change)(IniModel&);
    int code;
    DWORD detail;
};

const FixedCase kFixedCases[] = {
    {"a name climbing out of the explicit target folder",
     [](IniModel& ini) { ini.Find(L"ToolFiles")->lines.push_back(L"..\\..\\..\\up_tqc.dll"); },
     SetupTargetCopyFailed, ERROR_INVALID_NAME},
    {"a name climbing out of the system folder",
     [](IniModel& ini) { ini.Find(L"SpoolFiles64")->lines.push_back(L"..\\..\\..\\..\\up_tqc.dll"); },
     SetupSystemCopyFailed, ERROR_INVALID_NAME},
    {"a name climbing out of the 32-bit system folder through a subfolder",
     [](IniModel& ini) { ini.Find(L"SpoolFiles32")->lines.push_back(L"sub\\..\\..\\..\\..\\up_tqc.dll"); },
     SetupSystemX86CopyFailed, ERROR_INVALID_NAME},
    {"a name climbing out with forward slashes",
     [](IniModel& ini) { ini.Find(L"ToolFiles")->lines.push_back(L"../../../up_tqc.dll"); },
     SetupTargetCopyFailed, ERROR_INVALID_NAME},
    {"a name whose dots are trimmed to a parent, in a downlevel group whose failures are not reported",
     [](IniModel& ini) { ini.Find(L"RuntimeFiles64")->lines.push_back(L"...\\..\\..\\up_tqc.dll"); },
     SetupSucceeded, 0},
    {"a drive-relative name",
     [](IniModel& ini) { ini.Find(L"ToolFiles")->lines.push_back(L"C:up_tqc.dll"); }, SetupTargetCopyFailed,
     ERROR_INVALID_NAME},
    {"a stream of a listed file",
     [](IniModel& ini) { ini.Find(L"ToolFiles")->lines.push_back(L"CardPrinterTool_tqc.cfg:stream"); },
     SetupTargetCopyFailed, ERROR_INVALID_NAME},
    {"a device name, which Windows opens in any folder",
     [](IniModel& ini) { ini.Find(L"ToolFiles")->lines.push_back(L"COM1"); }, SetupTargetCopyFailed,
     ERROR_INVALID_NAME},
    {"a count of millions", [](IniModel& ini) { ini.Set(L"Depend64", L"Entry", L"2000000"); }, SetupNoGroupName, 0},
};

TEST(ConfigCampaign, FaultsFoundEarlierEndWithTheirCodesAndWriteNothingOutside)
{
    testing_support::CaseWatch watch(kCaseLimitMs);
    CampaignWorld world;
    ASSERT_NE(nullptr, world.Base().Find(L"ToolFiles")) << "the sample's TQSetup.ini was not read";
    uint64_t seed = 0;
    for (const FixedCase& fixed : kFixedCases) {
        GeneratedCase generated;
        generated.seed = ++seed;
        generated.osKey = L"Win1064";
        generated.ini = world.Base();
        fixed.change(generated.ini);
        const Outcome outcome = RunCase(world, generated, watch);
        EXPECT_EQ("", outcome.problem) << fixed.fault;
        EXPECT_EQ(fixed.code, outcome.code) << fixed.fault;
        EXPECT_EQ(fixed.detail, outcome.detail) << fixed.fault;
    }
    const std::vector<std::wstring> marked = world.MarkedFilesOutside();
    EXPECT_TRUE(marked.empty()) << Describe(marked);
}

// CAMPAIGN_CASE=<seed> runs that one case again and shows its file.
bool RunOneCase(CampaignWorld& world, testing_support::CaseWatch& watch)
{
    const char* seed = std::getenv("CAMPAIGN_CASE");
    if (!seed)
        return false;
    const GeneratedCase generated = GenerateCase(world.Base(), world.Places(), std::strtoull(seed, nullptr, 10));
    const Outcome outcome = RunCase(world, generated, watch);
    std::printf("code %d, detail 0x%08lx\n%s\n", outcome.code, static_cast<unsigned long>(outcome.detail),
                CaseReport(generated, outcome).c_str());
    EXPECT_EQ("", outcome.problem);
    return true;
}

TEST(ConfigCampaign, GeneratedFilesEndWithACodeOfTheTableAndWriteOnlyIntoTheirFolders)
{
    testing_support::CaseWatch watch(kCaseLimitMs);
    CampaignWorld world;
    ASSERT_FALSE(world.Base().sections.empty()) << "the sample's TQSetup.ini was not read";
    if (RunOneCase(world, watch))
        return;
    const int count = testing_support::CampaignCaseCount(kShortRunCases);
    std::map<int, int> codes;
    std::set<std::pair<int, DWORD>> details;
    int stoppingCases = 0;
    int localFiles = 0;
    int failures = 0;
    for (int i = 0; i < count && failures < 20; ++i) {
        const GeneratedCase generated = GenerateCase(world.Base(), world.Places(), kCampaignSeed + i);
        const Outcome outcome = RunCase(world, generated, watch);
        ++codes[outcome.code];
        details.insert({outcome.code, outcome.detail});
        stoppingCases += outcome.spoolerStops > 0;
        localFiles += generated.localText;
        if (!outcome.problem.empty()) {
            ++failures;
            ADD_FAILURE() << CaseReport(generated, outcome);
        }
        if (i % 500 == 499 || i == count - 1) {
            const std::vector<std::wstring> marked = world.MarkedFilesOutside();
            EXPECT_TRUE(marked.empty()) << "after case " << kCampaignSeed + i << ":" << Describe(marked);
            if (!marked.empty())
                break;
            std::printf("  driver campaign, code page %u: %d of %d files, %d failed\n", GetACP(), i + 1, count,
                        failures);
            std::fflush(stdout);
        }
    }
    std::string summary;
    for (const auto& code : codes)
        summary += " " + std::to_string(code.first) + ":" + std::to_string(code.second);
    std::printf("code page %u: %d generated TQSetup.ini files (%d with non-ASCII text in this code page); %zu "
                "distinct codes (code:files)%s; %zu distinct code and detail pairs; %d cases stopped the spooler; "
                "%d failed\n",
                GetACP(), count, localFiles, codes.size(), summary.c_str(), details.size(), stoppingCases, failures);
    ::testing::Test::RecordProperty("files", count);
    ::testing::Test::RecordProperty("codes", static_cast<int>(codes.size()));
    // A generator that no longer reaches the install step tests little.
    EXPECT_GE(codes.size(), 10u);
    EXPECT_GT(codes[SetupSucceeded], count / 20);
}

}  // namespace
