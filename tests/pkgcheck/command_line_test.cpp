// pkgcheck's command line, its exit codes, and the sample package, which is
// clean once its built program and component are named with --built.
#include <gtest/gtest.h>

#include "pkgcheck_run.h"

using namespace pkgcheck_testing;

namespace {

const DWORD kUsage = 3;
const DWORD kUnreadable = 4;

TEST(PkgcheckCommandLine, SamplePackageIsClean)
{
    const CheckRun run = RunPkgcheck({L"--built", CARD_TOOL_EXE, L"--built", CARD_REG_DLL, SAMPLE_PACKAGE_DIR});
    ASSERT_TRUE(run.started);
    EXPECT_EQ(std::vector<std::string>(), run.lines);
    EXPECT_EQ(0u, run.exitCode);
}

// Without its built program and component, the two files the sample's
// scripts name are missing, in each of the three scripts.
TEST(PkgcheckCommandLine, SampleWithoutItsBuiltFilesMissesThem)
{
    const CheckRun run = RunPkgcheck({SAMPLE_PACKAGE_DIR});
    ASSERT_TRUE(run.started);
    const std::vector<std::string> expected = {
        "installE.INF:11: error: [Install] entry 1: CardTool.exe is not in the package",
        "installE.INF:12: error: [Install] entry 2: CardReg.dll is not in the package",
        "installJ.INF:12: error: [Install] entry 1: CardTool.exe is not in the package",
        "installJ.INF:13: error: [Install] entry 2: CardReg.dll is not in the package",
        "installC.INF:12: error: [Install] entry 1: CardTool.exe is not in the package",
        "installC.INF:13: error: [Install] entry 2: CardReg.dll is not in the package",
    };
    EXPECT_EQ(expected, run.lines);
    EXPECT_EQ(2u, run.exitCode);
}

struct UsageCase {
    const char* name;
    std::vector<std::wstring> arguments;
    DWORD exitCode;
    const char* firstError;
};

class PkgcheckUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(PkgcheckUsage, IsRefusedWithItsCode)
{
    const CheckRun run = RunPkgcheck(GetParam().arguments);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_EQ(GetParam().exitCode, run.exitCode);
    EXPECT_EQ(0u, run.errors.find(GetParam().firstError)) << run.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PkgcheckUsage,
    ::testing::Values(
        UsageCase{"NoArgument", {}, kUsage, "usage: pkgcheck [--built FILE]... PACKAGE_DIR"},
        UsageCase{"TwoFolders", {SAMPLE_PACKAGE_DIR, SAMPLE_PACKAGE_DIR}, kUsage, "usage: pkgcheck"},
        UsageCase{"UnknownOption", {L"--fast", SAMPLE_PACKAGE_DIR}, kUsage, "usage: pkgcheck"},
        UsageCase{"BuiltWithoutFolder", {SAMPLE_PACKAGE_DIR, L"--built"}, kUsage, "usage: pkgcheck"},
        UsageCase{"MissingPackage", {L"C:\\no\\such\\package"}, kUnreadable,
                  "pkgcheck: cannot read the package folder C:\\no\\such\\package"},
        UsageCase{"PackageIsAFile", {std::wstring(SAMPLE_PACKAGE_DIR) + L"\\readme.txt"}, kUnreadable,
                  "pkgcheck: cannot read the package folder"},
        UsageCase{"MissingBuiltFile", {L"--built", L"C:\\no\\such\\Tool.exe", SAMPLE_PACKAGE_DIR}, kUnreadable,
                  "pkgcheck: cannot read the built file C:\\no\\such\\Tool.exe"},
        UsageCase{"BuiltFolder", {L"--built", SAMPLE_PACKAGE_DIR, SAMPLE_PACKAGE_DIR}, kUnreadable,
                  "pkgcheck: cannot read the built file"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

}  // namespace
