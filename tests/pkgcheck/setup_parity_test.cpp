// Setup.exe run on the TQSetup.ini faults that pkgcheck reports: it ends with
// the code pkgcheck predicts for the Windows it runs on (a 64-bit one here,
// which the sample serves with its entry OS2).
#include <regex>

#include "pkgcheck_run.h"
#include "setup_e2e_fixture.h"

using namespace pkgcheck_testing;
using namespace testing_support;

namespace {

// The code of the finding that names the 64-bit Windows of entry OS2, or 0
// when no finding predicts an ending there.
int PredictedCode(const std::vector<std::string>& lines)
{
    const std::regex ending("Setup ends with (-?[0-9]+) on (.*)$");
    for (const std::string& line : lines) {
        std::smatch match;
        if (std::regex_search(line, match, ending) && match[2].str().find("Win764") != std::string::npos &&
            match[2].str().find("2008R2") != std::string::npos)
            return std::stoi(match[1].str());
    }
    return 0;
}

struct SetupCase {
    const char* name;
    std::vector<PackageEdit> edits;
    int code;
};

class SetupParity : public e2e::DriverSetupRun, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(SetupParity, SetupEndsWithThePredictedCode)
{
    DriverPackage& package = MakePackage();
    for (PackageEdit edit : GetParam().edits) {
        edit.file = package.PathOf(edit.file);
        std::string bytes = ReadFileBytes(edit.file);
        ASSERT_NE(std::string::npos, bytes.find(edit.from)) << edit.from;
        bytes.replace(bytes.find(edit.from), edit.from.size(), edit.to);
        ASSERT_TRUE(WriteFileBytes(edit.file, bytes));
    }
    const CheckRun check = RunPkgcheck({L"--built", CARD_TOOL_EXE, L"--built", CARD_REG_DLL, package.Dir()});
    ASSERT_TRUE(check.started);
    EXPECT_EQ(GetParam().code, PredictedCode(check.lines));

    const AnsweredRun run = RunSetup(package);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(GetParam().code, static_cast<int>(run.exitCode));
}

std::vector<PackageEdit> IniEdit(const std::string& from, const std::string& to)
{
    return {Replace(L"TQSetup.ini", from, to)};
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SetupParity,
    ::testing::Values(
        SetupCase{"Clean", {}, 0},
        SetupCase{"NoEntryForThisWindows", IniEdit("OS2=Win764,Win8164,Win1064,2008R2,2012R2,2016", "OS2=Win81"), -17},
        SetupCase{"BlanksAfterCommas", IniEdit("OS2=Win764,Win8164,Win1064,2008R2,2012R2,2016",
                                               "OS2=Win764, Win8164, Win1064, 2008R2, 2012R2, 2016"),
                  -17},
        SetupCase{"NoDriverList", IniEdit("OS2=Driver64, x64\r\n", ""), -18},
        SetupCase{"NoWdmInf", IniEdit("[Driver64]\r\nWDMInf=CardPrinter.inf\r\n", "[Driver64]\r\n"), -19},
        SetupCase{"MissingInf", IniEdit("[Driver64]\r\nWDMInf=CardPrinter.inf", "[Driver64]\r\nWDMInf=CardPrinter64.inf"),
                  -33},
        SetupCase{"NoGroupCount", IniEdit("[Depend64]\r\nEntry=5\r\n", "[Depend64]\r\n"), -25},
        SetupCase{"NoGroupName", IniEdit("[Depend64]\r\nEntry=5", "[Depend64]\r\nEntry=6"), -26},
        SetupCase{"NoFileList", IniEdit("Name2=SpoolFiles64, 2", "Name2=SpoolFiles64bit, 2"), -20},
        SetupCase{"BadTargetKind", IniEdit("Name2=SpoolFiles64, 2, x64", "Name2=SpoolFiles64, 7, x64"), -27},
        SetupCase{"MisprefixedSourceLosesItsFirstLetter",
                  IniEdit("Name1=ToolFiles, 1:C:\\ProgramData\\CardPrinter, common\r\nName2=SpoolFiles64",
                          "Name1=ToolFiles, 1:C:\\ProgramData\\CardPrinter,common\r\nName2=SpoolFiles64"),
                  -36},
        SetupCase{"MissingSystemFile", IniEdit("[SpoolFiles64]\r\n", "[SpoolFiles64]\r\nMissing64.dll\r\n"), -34}),
    [](const ::testing::TestParamInfo<SetupCase>& info) { return std::string(info.param.name); });

}  // namespace
