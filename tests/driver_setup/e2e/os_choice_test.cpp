// The [OS] entry that Setup.exe chooses for the Windows version that Wine
// reports to it. Each entry of the package copies its own marker file into a
// scratch folder, so the chosen entry is seen in what arrives there.
#include "setup_e2e_fixture.h"

using namespace testing_support;

namespace e2e {
namespace {

const int kEntries = 5;

// Five entries: 32-bit Windows, 64-bit 7 and Server 2008 R2 apart, and 64-bit
// 8.1 and 10 each with its server.
void UseMarkerEntries(DriverPackage& package, const std::wstring& target)
{
    ASSERT_TRUE(package.SetIniValue(L"Information", L"DevInstall", L"0"));
    ASSERT_TRUE(package.SetIniSection(
        L"OS", L"Entry=5\nOS1=Win7,Win81,Win10\nOS2=Win764\nOS3=2008R2\nOS4=Win8164,2012R2\nOS5=Win1064,2016"));
    std::wstring driverList;
    for (int i = 1; i <= kEntries; ++i) {
        const std::wstring n = std::to_wstring(i);
        driverList += L"OS" + n + L"=MarkDriver" + n + L", x64\n";
        ASSERT_TRUE(package.AddFile(L"marks\\OS" + n + L".txt", "entry OS" + std::to_string(i)));
        ASSERT_TRUE(package.SetIniSection((L"MarkDriver" + n).c_str(), L"WDMDependFiles=MarkDepend" + n));
        ASSERT_TRUE(package.SetIniSection((L"MarkDepend" + n).c_str(),
                                          L"Entry=1\nName1=MarkFiles" + n + L", 1:" + target + L", marks"));
        // "name=": the profile writer drops a line without an equals sign.
        ASSERT_TRUE(package.SetIniSection((L"MarkFiles" + n).c_str(), L"OS" + n + L".txt="));
    }
    ASSERT_TRUE(package.SetIniSection(L"DEV_OS1", driverList));
}

// Names of the marker files that arrived in target.
std::wstring MarkersIn(const std::wstring& target)
{
    std::wstring names;
    for (int i = 1; i <= kEntries; ++i) {
        const std::wstring name = L"OS" + std::to_wstring(i) + L".txt";
        if (FileExists(JoinPaths(target, name)))
            names += (names.empty() ? L"" : L" ") + name;
    }
    return names;
}

struct VersionCase {
    const wchar_t* wineVersion;  // nullptr: what the prefix reports by default (7 SP1)
    const wchar_t* expectedMarkers;
};

class OsChoice : public DriverSetupRun, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(OsChoice, SupportedWindowsGetsItsOwn64BitEntry)
{
    DriverPackage& package = MakePackage();
    const std::wstring target = package.PathOf(L"out");
    UseMarkerEntries(package, target);
    std::unique_ptr<WineVersionFor> version;
    if (GetParam().wineVersion)
        version = std::make_unique<WineVersionFor>(L"Setup.exe", GetParam().wineVersion);

    ExpectSuccess(RunSetup(package));
    EXPECT_EQ(std::wstring(GetParam().expectedMarkers), MarkersIn(target));
}

INSTANTIATE_TEST_SUITE_P(Versions, OsChoice,
                         // The prefix's own Windows 7 is a workstation, but Wine 8
                         // swaps the product types of the two chosen versions:
                         // "win7" answers as a server, "win2008r2" as a workstation.
                         ::testing::Values(VersionCase{nullptr, L"OS2.txt"},
                                           VersionCase{L"win7", L"OS3.txt"},
                                           VersionCase{L"win2008r2", L"OS2.txt"},
                                           VersionCase{L"win81", L"OS4.txt"},
                                           VersionCase{L"win10", L"OS5.txt"}));

class UnsupportedWindows : public DriverSetupRun, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(UnsupportedWindows, IsRefusedBeforeAnythingIsCopied)
{
    DriverPackage& package = MakePackage();
    const std::wstring target = package.PathOf(L"out");
    UseMarkerEntries(package, target);
    WineVersionFor version(L"Setup.exe", GetParam());

    ExpectOutcome(RunSetup(package), -1, L"Your Windows is not supported.", L"Setup.exe");
    EXPECT_EQ(L"", MarkersIn(target));
}

INSTANTIATE_TEST_SUITE_P(Versions, UnsupportedWindows, ::testing::Values(L"winxp", L"vista", L"win8"));

}  // namespace
}  // namespace e2e
