// pkgcheck.exe run on a package folder made by a test from the sample
// package: its finding lines and its exit code.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "test_files.h"

namespace pkgcheck_testing {

struct CheckRun {
    bool started = false;
    DWORD exitCode = 0;
    std::vector<std::string> lines;  // standard output, UTF-8, one per finding
    std::string errors;              // standard error
};

// Runs pkgcheck.exe with these arguments and waits for its end.
CheckRun RunPkgcheck(const std::vector<std::wstring>& arguments);

// One change to the copy of the sample package: the fault of a case.
struct PackageEdit {
    enum Kind { ReplaceText, WriteFile, RemoveFile, AddFiles } kind;
    std::wstring file;  // or the folder of AddFiles
    std::string from;   // ReplaceText: the first occurrence is replaced
    std::string to;     // the replacement, or the bytes of WriteFile
    int count = 0;      // AddFiles: so many small files
};

PackageEdit Replace(const std::wstring& file, const std::string& from, const std::string& to);
PackageEdit Write(const std::wstring& file, const std::string& bytes);
PackageEdit Remove(const std::wstring& file);
PackageEdit AddFiles(const std::wstring& folder, int count);

// A finding-kind case: the edits that make the fault, the exact lines
// pkgcheck prints for it and its exit code.
struct FaultCase {
    const char* name;
    std::vector<PackageEdit> edits;
    std::vector<std::string> findings;
    DWORD exitCode;
};

// A copy of the sample package in a scratch folder, for one fault.
class FixturePackage {
public:
    FixturePackage();
    bool Ready() const { return ready_; }
    const std::wstring& Dir() const { return dir_.Path(); }
    std::wstring PathOf(const std::wstring& relative) const { return dir_ / relative; }

    // Replaces the first occurrence of from in a file of the package; false
    // when it is not there.
    bool Replace(const std::wstring& file, const std::string& from, const std::string& to) const;
    bool Write(const std::wstring& file, const std::string& bytes) const;
    bool Remove(const std::wstring& file) const;
    bool Apply(const PackageEdit& edit) const;
    bool ApplyAll(const std::vector<PackageEdit>& edits) const;

    // pkgcheck on the folder, with the sample's built programs (CardTool.exe,
    // CardReg.dll) as the medium build lays them.
    CheckRun Check() const;

private:
    testing_support::ScratchDir dir_{L"pkg"};
    bool ready_ = false;
};

// The bytes of a file of the sample package.
std::string SampleFile(const std::wstring& relative);

// Runs each case: the findings must be exactly the case's.
void ExpectFindings(const FaultCase& fault);

// The case's name, for the test's name.
std::string FaultCaseName(const ::testing::TestParamInfo<FaultCase>& info);

}  // namespace pkgcheck_testing
