#include "planted_dlls.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "folder_listing.h"
#include "window_driver.h"

using namespace testing_support;

namespace dll_search_testing {

namespace {

// PLANTED_NAMES: the planted names and the unlisted one, separated by commas
// (the test's TEST_DLL_OVERRIDES entry, without "=n,b").
std::vector<std::wstring> NamesBesideTheUnlisted()
{
    std::vector<std::wstring> names;
    const std::wstring list = PLANTED_NAMES;
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(L',', start), list.size());
        const std::wstring name = list.substr(start, comma - start);
        if (name != UNLISTED_NAME)
            names.push_back(name);
        start = comma + 1;
    }
    return names;
}

}  // namespace

const std::vector<std::wstring> kPlantedNames = NamesBesideTheUnlisted();
const wchar_t kUnlistedName[] = UNLISTED_NAME;

namespace {

const DWORD kProbeTimeoutMs = 60000;

}  // namespace

PlantedDlls::PlantedDlls()
{
    SetEnvironmentVariableW(L"DLL_MARKER_DIR", marks_.Path().c_str());
}

PlantedDlls::~PlantedDlls()
{
    SetEnvironmentVariableW(L"DLL_MARKER_DIR", nullptr);
}

bool PlantedDlls::PlantIn(const std::wstring& dir, const std::wstring& markerDll) const
{
    bool planted = true;
    for (const std::wstring& file : MarkerFiles(true))
        planted = CopyFileW(markerDll.c_str(), JoinPaths(dir, file).c_str(), FALSE) && planted;
    return planted;
}

std::vector<std::wstring> PlantedDlls::Loaded() const
{
    std::vector<std::wstring> names = FileNamesIn(marks_.Path());
    std::sort(names.begin(), names.end());
    return names;
}

std::string PlantedDlls::Report() const
{
    std::string report;
    for (const std::wstring& name : Loaded()) {
        const std::string lines = ReadFileBytes(marks_ / name);
        const std::wstring text(reinterpret_cast<const wchar_t*>(lines.data()), lines.size() / sizeof(wchar_t));
        report += ToCodePage(name + L" loaded by:\n" + text, CP_UTF8);
    }
    return report;
}

void PlantedDlls::Clear() const
{
    for (const std::wstring& name : Loaded())
        DeleteFileW((marks_ / name).c_str());
}

std::vector<std::wstring> MarkerFiles(bool withUnlisted)
{
    std::vector<std::wstring> files;
    for (const std::wstring& name : kPlantedNames)
        files.push_back(name + L".dll");
    if (withUnlisted)
        files.push_back(std::wstring(kUnlistedName) + L".dll");
    std::sort(files.begin(), files.end());
    return files;
}

bool RunProbe(const std::wstring& probe, const wchar_t* mode)
{
    std::wstring line = L"\"" + probe + L"\" " + mode;
    for (const std::wstring& name : kPlantedNames)
        line += L" " + name;
    line += std::wstring(L" ") + kUnlistedName;
    RunningProgram program;
    DWORD exitCode = 1;
    return program.Start(line) && program.WaitForExit(kProbeTimeoutMs, &exitCode) && exitCode == 0;
}

void ExpectProbeLoadsEveryMarker(const PlantedDlls& planted, const std::wstring& dir, const std::wstring& probe)
{
    const std::wstring copy = JoinPaths(dir, L"search_probe.exe");
    ASSERT_TRUE(CopyFileW(probe.c_str(), copy.c_str(), FALSE));
    planted.Clear();
    ASSERT_TRUE(RunProbe(copy, L"none"));
    EXPECT_EQ(MarkerFiles(true), planted.Loaded()) << "an unprotected program in " << ToCodePage(dir, CP_UTF8);
    planted.Clear();
    DeleteFileW(copy.c_str());
}

}  // namespace dll_search_testing
