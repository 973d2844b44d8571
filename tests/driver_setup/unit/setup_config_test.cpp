#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <memory>
#include <string>
#include <vector>

#include "setup_codes.h"
#include "setup_config.h"
#include "setup_test_files.h"

namespace {

using driver_setup_test::Items;
using driver_setup_test::WriteConfig;
using Lines = std::vector<std::wstring>;

// Section content whose lines with their terminators take exactly total characters.
std::string SectionOfLength(int total)
{
    std::string content;
    int line = 0;
    while (total > 100) {
        content += "L" + std::to_string(10 + line++) + std::string(96, 'x') + "\n";
        total -= 100;
    }
    return content + "Z" + std::string(total - 2, 'z') + "\n";
}

class ConfigFile : public ::testing::Test {
protected:
    std::wstring Write(const std::string& content) { return path_ = WriteConfig(dir_, content); }
    const wchar_t* Path() const { return path_.c_str(); }

    testing_support::ScratchDir dir_;
    std::wstring path_;
};

TEST_F(ConfigFile, CommaListSkipsEmptyFieldsAndKeepsBlanks)
{
    Write("[S]\nk=,a,, b ,c,\nall=,,,\n");
    StringList list;
    ASSERT_TRUE(ReadCommaList(Path(), L"S", L"k", list));
    EXPECT_EQ((Lines{L"a", L" b ", L"c"}), Items(list));
    StringList commas;
    EXPECT_TRUE(ReadCommaList(Path(), L"S", L"all", commas));
    EXPECT_EQ(0, commas.Count());
}

TEST_F(ConfigFile, CommaListFailsForMissingOrEmptyValues)
{
    Write("[S]\nempty=\n");
    StringList list;
    EXPECT_FALSE(ReadCommaList(Path(), L"S", L"empty", list));
    EXPECT_FALSE(ReadCommaList(Path(), L"S", L"missing", list));
    EXPECT_FALSE(ReadCommaList(Path(), L"Missing", L"k", list));
    EXPECT_EQ(0, list.Count());
}

TEST_F(ConfigFile, CommaListAppendsAndCutsLongValuesAt259Characters)
{
    Write("[S]\nlong=" + std::string(255, 'a') + ",bcdefgh\n");
    StringList list;
    list.Add(L"before");
    ASSERT_TRUE(ReadCommaList(Path(), L"S", L"long", list));
    EXPECT_EQ((Lines{L"before", std::wstring(255, L'a'), L"bcd"}), Items(list));
}

TEST_F(ConfigFile, SectionLinesLoseTheirFirstEqualsSign)
{
    Write("[Files]\ndriverui.dll=\ndriverres.dll\nPCPxx.dll=1\na=b=c\n");
    StringList list;
    ASSERT_TRUE(ReadSectionLines(Path(), L"Files", list));
    EXPECT_EQ((Lines{L"driverui.dll", L"driverres.dll", L"PCPxx.dll1", L"ab=c"}), Items(list));
}

TEST_F(ConfigFile, SectionLinesFailForMissingOrEmptySections)
{
    Write("[Empty]\n[Other]\na\n");
    StringList list;
    EXPECT_FALSE(ReadSectionLines(Path(), L"Empty", list));
    EXPECT_FALSE(ReadSectionLines(Path(), L"Missing", list));
}

TEST_F(ConfigFile, SectionLinesMustLeaveRoomInTheBuffer)
{
    for (int total : {1021, 1022, 1023, 1024, 3000}) {
        Write("[Files]\n" + SectionOfLength(total));
        StringList list;
        EXPECT_EQ(total == 1021, ReadSectionLines(Path(), L"Files", list)) << total;
        if (total == 1021) {
            EXPECT_EQ(11, list.Count());
            EXPECT_EQ(20u, std::wstring(list.At(10)).size());
        }
    }
}

const char kTwoEntries[] =
    "[OS]\nEntry=2\nOS1=Win7,Win81,Win10\nOS2=Win764,Win8164,Win1064,2008R2,2012R2,2016\n";

std::wstring Find(const wchar_t* path, const wchar_t* key)
{
    OsEntryName name = {L"none"};
    return FindOsEntry(path, key, name) ? name.text : L"failed";
}

TEST_F(ConfigFile, OsEntryIsTheKeyOfTheListHoldingTheOsKey)
{
    Write(kTwoEntries);
    EXPECT_EQ(L"OS1", Find(Path(), L"Win7"));
    EXPECT_EQ(L"OS1", Find(Path(), L"Win10"));
    EXPECT_EQ(L"OS2", Find(Path(), L"Win764"));
    EXPECT_EQ(L"OS2", Find(Path(), L"2016"));
    EXPECT_EQ(L"failed", Find(Path(), L"win7"));
    EXPECT_EQ(L"failed", Find(Path(), L"Win"));
    EXPECT_EQ(L"failed", Find(Path(), L""));
}

TEST_F(ConfigFile, OsKeysAreComparedWhole)
{
    Write("[OS]\nEntry=1\nOS1=Win10, Win1064\n");
    EXPECT_EQ(L"OS1", Find(Path(), L"Win10"));
    EXPECT_EQ(L"failed", Find(Path(), L"Win1064"));
}

TEST_F(ConfigFile, FirstListHoldingTheOsKeyWins)
{
    Write("[OS]\nEntry=3\nOS1=Win7\nOS2=Win10,Win81\nOS3=Win81\n");
    EXPECT_EQ(L"OS2", Find(Path(), L"Win81"));
}

TEST_F(ConfigFile, OsEntryFailsUnlessAllEntriesAreThere)
{
    Write("[OS]\nEntry=3\nOS1=Win7\nOS2=Win10\n");
    EXPECT_EQ(L"failed", Find(Path(), L"Win7"));
    Write("[OS]\nEntry=2\nOS1=Win7\nOS2=\n");
    EXPECT_EQ(L"failed", Find(Path(), L"Win7"));
    Write("[OS]\nOS1=Win7\n");
    EXPECT_EQ(L"failed", Find(Path(), L"Win7"));
    Write("[OS]\nEntry=0\nOS1=Win7\n");
    EXPECT_EQ(L"failed", Find(Path(), L"Win7"));
    Write("[OS]\nEntry=-1\nOS1=Win7\n");
    EXPECT_EQ(L"failed", Find(Path(), L"Win7"));
    EXPECT_EQ(L"failed", Find((dir_ / L"missing.ini").c_str(), L"Win7"));
}

// ReadSetupConfig on a configuration in a package folder, as Setup runs it.
class SetupConfig : public ConfigFile {
protected:
    int Read(const std::string& content, const wchar_t* entry = L"OS1")
    {
        Write(content);
        setupDir_ = dir_.Path() + L"\\";
        setup_.reset(new DriverSetup(Path(), entry, setupDir_.c_str()));
        return ReadSetupConfig(*setup_);
    }
    std::wstring InPackage(const std::wstring& relative) const { return setupDir_ + relative; }

    std::wstring setupDir_;
    std::unique_ptr<DriverSetup> setup_;
};

const char kFullChain[] =
    "[Information]\nDevInstall=1\nProducts=Printer Driver\n"
    "[OS]\nEntry=2\nOS1=Win7,Win81,Win10\nOS2=Win764,Win8164,Win1064,2008R2,2012R2,2016\n"
    "[DEV_OS1]\nOS1=Driver32, x86\nOS2=Driver64, x64\n"
    "[Driver32]\nWDMInf=driver.inf\n"
    "[Driver64]\nWDMInf=driver.inf\nWDMDependFiles=Depend64\n"
    "[Depend64]\nEntry=3\nName1=SpoolFiles64, 2, x64\\spool\nName2=Files, 1:D:\\Out, bin\n"
    "Name3=Files, 3 ,bin\n"
    "[SpoolFiles64]\ndriverui.dll=\ndriverres.dll\n"
    "[Files]\nPCPxx.dll=1\nPCPyy.dll=\n";

TEST_F(SetupConfig, ReadsTheWholeChain)
{
    ASSERT_EQ(SetupSucceeded, Read(kFullChain, L"OS2"));
    const DriverSetup& setup = *setup_;
    EXPECT_TRUE(setup.ready);
    EXPECT_TRUE(setup.installPackage);
    EXPECT_EQ(InPackage(L"x64\\driver.inf"), setup.infPath);
    ASSERT_EQ(3, setup.groupCount);

    const FileGroup& spool = setup.fileGroups[0];
    EXPECT_EQ(TargetSystem, spool.targetKind);
    EXPECT_EQ(InPackage(L"x64\\spool"), spool.sourceDirectory);
    EXPECT_STREQ(L"", spool.targetDirectory);
    EXPECT_EQ((Lines{L"driverui.dll", L"driverres.dll"}), Items(spool.fileNames));

    const FileGroup& explicitTarget = setup.fileGroups[1];
    EXPECT_EQ(TargetExplicitDirectory, explicitTarget.targetKind);
    EXPECT_STREQ(L"D:\\Out", explicitTarget.targetDirectory);
    EXPECT_EQ(InPackage(L"bin"), explicitTarget.sourceDirectory);
    EXPECT_EQ((Lines{L"PCPxx.dll1", L"PCPyy.dll"}), Items(explicitTarget.fileNames));

    // No blank before "bin": its first character goes instead.
    const FileGroup& blanks = setup.fileGroups[2];
    EXPECT_EQ(TargetSystemX86, blanks.targetKind);
    EXPECT_EQ(InPackage(L"in"), blanks.sourceDirectory);
}

TEST_F(SetupConfig, PackageWithoutFileGroups)
{
    ASSERT_EQ(SetupSucceeded, Read(kFullChain, L"OS1"));
    EXPECT_TRUE(setup_->ready);
    EXPECT_EQ(InPackage(L"x86\\driver.inf"), setup_->infPath);
    EXPECT_EQ(0, setup_->groupCount);
    EXPECT_EQ(nullptr, setup_->fileGroups);
}

TEST_F(SetupConfig, NoPackageInstallNeedsNeitherInfNorDriverFolder)
{
    ASSERT_EQ(SetupSucceeded, Read("[Information]\nDevInstall=0\n[DEV_OS1]\nOS1=Driver\n[Driver]\nX=1\n"));
    EXPECT_TRUE(setup_->ready);
    EXPECT_FALSE(setup_->installPackage);
    EXPECT_STREQ(L"", setup_->infPath);
}

TEST_F(SetupConfig, GroupCountZeroOrNotANumberMeansNoGroups)
{
    for (const char* count : {"0", "none"}) {
        ASSERT_EQ(SetupSucceeded, Read(std::string("[DEV_OS1]\nOS1=Driver\n[Driver]\nWDMDependFiles=Dep\n"
                                                   "[Dep]\nEntry=") + count + "\n"))
            << count;
        EXPECT_TRUE(setup_->ready);
        EXPECT_EQ(0, setup_->groupCount);
    }
}

TEST_F(SetupConfig, TargetFieldWithTheDigitOneIsAnExplicitDirectory)
{
    ASSERT_EQ(SetupSucceeded, Read("[DEV_OS1]\nOS1=Driver\n[Driver]\nWDMDependFiles=Dep\n"
                                   "[Dep]\nEntry=2\nName1=F,12, src\nName2=F, 1:C:\\Target, src\n"
                                   "[F]\na.dll\n"));
    EXPECT_EQ(TargetExplicitDirectory, setup_->fileGroups[0].targetKind);
    EXPECT_STREQ(L"", setup_->fileGroups[0].targetDirectory);
    EXPECT_STREQ(L"C:\\Target", setup_->fileGroups[1].targetDirectory);
    EXPECT_EQ(InPackage(L"src"), setup_->fileGroups[1].sourceDirectory);
}

struct FailingConfig {
    const char* why;
    std::string content;
    int code;
};

const std::string kDriver = "[DEV_OS1]\nOS1=Driver, x86\n";
const std::string kDepend = kDriver + "[Driver]\nWDMDependFiles=Dep\n";

TEST_F(SetupConfig, ReportsEachMissingPieceWithItsCode)
{
    const FailingConfig cases[] = {
        {"no key for the entry", "[DEV_OS1]\nOS2=Driver, x86\n", SetupNoDriverList},
        {"empty key for the entry", "[DEV_OS1]\nOS1=\n", SetupNoDriverList},
        {"only commas", "[DEV_OS1]\nOS1=,,\n", SetupNoDriverList},
        {"no WDMInf", "[Information]\nDevInstall=1\n" + kDriver + "[Driver]\nX=1\n", SetupNoInfName},
        {"no driver folder", "[Information]\nDevInstall=1\n[DEV_OS1]\nOS1=Driver\n[Driver]\nWDMInf=a.inf\n",
         SetupNoDriverList},
        {"no Entry", kDepend + "[Dep]\nName1=F, 2, x86\n[F]\na\n", SetupNoGroupCount},
        {"negative Entry", kDepend + "[Dep]\nEntry=-1\n", SetupNoGroupCount},
        {"missing Name2", kDepend + "[Dep]\nEntry=2\nName1=F, 2, x86\n[F]\na\n", SetupNoGroupName},
        {"Name with two fields", kDepend + "[Dep]\nEntry=1\nName1=F, 2\n[F]\na\n", SetupNoGroupName},
        {"no file list", kDepend + "[Dep]\nEntry=1\nName1=F, 2, x86\n", SetupNoFileList},
        {"file list too long", kDepend + "[Dep]\nEntry=1\nName1=F, 2, x86\n[F]\n" + SectionOfLength(1024),
         SetupNoFileList},
        {"kind 6", kDepend + "[Dep]\nEntry=1\nName1=F, 6, x86\n[F]\na\n", SetupBadTargetKind},
        {"kind 0", kDepend + "[Dep]\nEntry=1\nName1=F, 0, x86\n[F]\na\n", SetupBadTargetKind},
        {"kind not a number", kDepend + "[Dep]\nEntry=1\nName1=F, x, x86\n[F]\na\n", SetupBadTargetKind},
        {"INF path too long", "[Information]\nDevInstall=1\n" + kDriver + "[Driver]\nWDMInf=" +
                                  std::string(250, 'i') + "\n",
         SetupNoInfName},
        {"source path too long", kDepend + "[Dep]\nEntry=1\nName1=F, 2, " + std::string(250, 's') + "\n[F]\na\n",
         SetupNoGroupName},
    };
    for (const FailingConfig& failing : cases) {
        EXPECT_EQ(failing.code, Read(failing.content)) << failing.why;
        EXPECT_FALSE(setup_->ready) << failing.why;
    }
}

TEST_F(SetupConfig, MissingFileIsAMissingDriverList)
{
    setupDir_ = dir_.Path() + L"\\";
    const std::wstring missing = dir_ / L"TQSetup.ini";
    DriverSetup setup(missing.c_str(), L"OS1", setupDir_.c_str());
    EXPECT_EQ(SetupNoDriverList, ReadSetupConfig(setup));
    DriverSetup noPath(L"", L"OS1", setupDir_.c_str());
    EXPECT_EQ(SetupNoDriverList, ReadSetupConfig(noPath));
}

TEST_F(SetupConfig, BlanksAroundTheKindAreRemoved)
{
    ASSERT_EQ(SetupSucceeded, Read(kDepend + "[Dep]\nEntry=1\nName1=F, 5 , x86\n[F]\na\n"));
    EXPECT_EQ(TargetSystemX86Downlevel, setup_->fileGroups[0].targetKind);
    EXPECT_EQ(InPackage(L"x86"), setup_->fileGroups[0].sourceDirectory);
}

// The most memory the process has held so far, in bytes.
SIZE_T PeakWorkingSetSize()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) ? counters.PeakWorkingSetSize
                                                                                  : 0;
}

// A count of millions with a single Name key: the read stops at Name2 without
// first making room for every group the count announces.
TEST_F(SetupConfig, HugeGroupCountFailsAtTheFirstMissingNameWithLittleMemory)
{
    const SIZE_T kLittle = 64 * 1024 * 1024;
    for (const char* count : {"2000000", "2147483647"}) {
        const SIZE_T before = PeakWorkingSetSize();
        ASSERT_NE(0u, before);
        EXPECT_EQ(SetupNoGroupName, Read(kDepend + "[Dep]\nEntry=" + count + "\nName1=F, 2, x86\n[F]\na.dll\n"))
            << count;
        const SIZE_T after = PeakWorkingSetSize();
        EXPECT_LT(after > before ? after - before : 0, kLittle) << count;
        // The group of the missing Name2 is the last one made.
        EXPECT_EQ(2, setup_->groupCount) << count;
        EXPECT_FALSE(setup_->ready) << count;
    }
}

}  // namespace
