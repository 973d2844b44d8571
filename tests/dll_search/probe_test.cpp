// The search restriction of both products, run in small probes from a folder
// full of planted DLLs (the products' own code, called as their entries call
// it). The restricted search keeps every planted DLL out; the way for systems
// without it keeps out every one that the system has, and the unlisted DLL
// shows which way was taken. A Windows without SetDefaultDllDirectories
// cannot be made in Wine, so the probe calls that way directly.
#include <gtest/gtest.h>

#include <memory>

#include "planted_dlls.h"

using namespace dll_search_testing;
using namespace testing_support;

namespace {

struct ProbeCase {
    const char* label;
    const wchar_t* probe;
    const wchar_t* mode;     // "restrict": as the entry does; "fallback": the way without the restriction
    const wchar_t* windows;  // the Windows version Wine reports; nullptr: the prefix's Windows 7 SP1
    bool expectFallback;
};

const ProbeCase kCases[] = {
    {"install_on_Windows_7", INSTALL_PROBE, L"restrict", nullptr, false},
    {"install_on_Windows_10", INSTALL_PROBE, L"restrict", L"win10", false},
    // Vista's shell fails under the restriction: install keeps the older way there.
    {"install_on_Vista", INSTALL_PROBE, L"restrict", L"vista", true},
    {"install_fallback", INSTALL_PROBE, L"fallback", nullptr, true},
    {"Setup_on_Windows_7", SETUP_PROBE, L"restrict", nullptr, false},
    {"Setup_on_Windows_10", SETUP_PROBE, L"restrict", L"win10", false},
    {"Setup_fallback", SETUP_PROBE, L"fallback", nullptr, true},
};

std::wstring SystemDirectory()
{
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return dir;
}

// Preloading cannot keep out a DLL that the system lacks (Wine has no
// cryptbase.dll), nor the unlisted one.
std::vector<std::wstring> MarkersTheFallbackLetsIn()
{
    std::vector<std::wstring> missing;
    for (const std::wstring& file : MarkerFiles(true)) {
        if (!FileExists(JoinPaths(SystemDirectory(), file)))
            missing.push_back(file);
    }
    return missing;
}

class ProbeSearch : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeSearch, KeepsPlantedDllsOut)
{
    const ProbeCase& test = GetParam();
    ScratchDir folder(L"probe");
    PlantedDlls planted;
    ASSERT_TRUE(planted.PlantIn(folder.Path(), MARKER_DLL));
    ASSERT_NO_FATAL_FAILURE(ExpectProbeLoadsEveryMarker(planted, folder.Path(), test.probe));

    const std::wstring probe = folder / L"protected_probe.exe";
    ASSERT_TRUE(CopyFileW(test.probe, probe.c_str(), FALSE));
    std::unique_ptr<WineVersionFor> version;
    if (test.windows)
        version = std::make_unique<WineVersionFor>(L"protected_probe.exe", test.windows);
    ASSERT_TRUE(RunProbe(probe, test.mode));
    const std::vector<std::wstring> expected =
        test.expectFallback ? MarkersTheFallbackLetsIn() : std::vector<std::wstring>();
    EXPECT_EQ(expected, planted.Loaded()) << planted.Report();
}

INSTANTIATE_TEST_SUITE_P(Probes, ProbeSearch, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ProbeCase>& info) { return info.param.label; });

}  // namespace
