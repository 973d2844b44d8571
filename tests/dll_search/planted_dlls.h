// DLLs planted beside the programs under test: copies of a marker DLL named
// after system DLLs. Wine prefers such a file to its own DLL when
// WINEDLLOVERRIDES says "n,b" for the name (the test's TEST_DLL_OVERRIDES,
// set by CMake), as Windows prefers any DLL that is not a KnownDLL. A copy
// that loads leaves a file named after itself in a folder of the test.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "test_files.h"

namespace dll_search_testing {

// What the programs load themselves, and what the shell, the common
// controls, the device setup, COM and Wine load by name in them.
extern const std::vector<std::wstring> kPlantedNames;

// A name that no system has: beside the program, only the search restricted
// to the system directory keeps it out; preloading cannot.
extern const wchar_t kUnlistedName[];

// The markers of one test. While it lives, this process's environment (which
// every program it starts inherits) names the folder for the marks in
// DLL_MARKER_DIR.
class PlantedDlls {
public:
    PlantedDlls();
    PlantedDlls(const PlantedDlls&) = delete;
    PlantedDlls& operator=(const PlantedDlls&) = delete;
    ~PlantedDlls();

    // Copies markerDll into dir under each planted name and the unlisted one.
    bool PlantIn(const std::wstring& dir, const std::wstring& markerDll) const;

    // The file names of the markers that loaded ("version.dll"), sorted.
    std::vector<std::wstring> Loaded() const;
    // Which program loaded which copy, for a failure message.
    std::string Report() const;
    // Forgets the marks so far.
    void Clear() const;

private:
    testing_support::ScratchDir marks_{L"marks"};
};

// The planted names as marker files ("version.dll"), sorted, with the
// unlisted one when withUnlisted is set.
std::vector<std::wstring> MarkerFiles(bool withUnlisted);

// Runs a probe (tests/dll_search/search_probe.cpp) in mode ("none",
// "restrict", "fallback"), loading every planted name and the unlisted one;
// false when it did not end with 0 in time.
bool RunProbe(const std::wstring& probe, const wchar_t* mode);

// Copies the probe into dir and runs it there without protection: every
// planted marker in dir must load, else the run shows nothing.
void ExpectProbeLoadsEveryMarker(const PlantedDlls& planted, const std::wstring& dir, const std::wstring& probe);

}  // namespace dll_search_testing
