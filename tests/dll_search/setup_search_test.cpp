// Setup.exe on a package folder with planted DLLs beside it and beside
// x64\Setup64.exe, run to its success message (the 64-bit tree starts
// Setup64.exe itself, as Setup.exe does): none of them loads. An unprotected
// probe started from each folder first shows that they would.
#include <gtest/gtest.h>

#include "planted_dlls.h"
#include "setup_e2e_fixture.h"

using namespace dll_search_testing;
using namespace testing_support;

namespace {

struct PlantedFolder {
    const wchar_t* relative;  // in the package folder
    const wchar_t* marker;
    const wchar_t* probe;
};

const PlantedFolder kFolders[] = {
#ifndef _WIN64
    {L"", MARKER_DLL, SETUP_PROBE},
#endif
    {L"x64", MARKER_DLL_64, SETUP_PROBE_64},
};

class SetupDllSearch : public e2e::DriverSetupRun {};

TEST_F(SetupDllSearch, PlantedDllsNeverLoadIntoASuccessfulRun)
{
    DriverPackage& package = MakePackage();
    PlantedDlls planted;
    for (const PlantedFolder& folder : kFolders) {
        const std::wstring dir = JoinPaths(package.Dir(), folder.relative);
        ASSERT_TRUE(planted.PlantIn(dir, folder.marker));
        ASSERT_NO_FATAL_FAILURE(ExpectProbeLoadsEveryMarker(planted, dir, folder.probe));
    }

#ifdef _WIN64
    AnsweredRun run = RunSetup64(package, L"\"" + package.Dir() + L"\" OS2");
#else
    AnsweredRun run = RunSetup(package);
#endif
    e2e::ExpectSuccess(run);
    EXPECT_EQ(std::vector<std::wstring>(), planted.Loaded()) << planted.Report();
}

}  // namespace
