// Shared set-up of the end-to-end runs: a package folder per test, runs that
// answer every message box of Setup.exe and Setup64.exe, and removal of what
// the sample package installs into the system folders, before and after each test.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver_package.h"
#include "process_tree.h"
#include "spooler_service.h"
#include "test_files.h"

namespace e2e {

const wchar_t kTitle[] = L"Device Driver Installer";
const wchar_t kSuccessText[] = L"The Sample Card Printer Driver has been successfully installed.";
const DWORD kRunTimeoutMs = 60000;
// Where the sample package's TQSetup.ini puts its tool files (target kind 1).
const wchar_t kToolFolder[] = L"C:\\ProgramData\\CardPrinter";

// "Failed to install the device driver. (-0x..)" for a negative code.
std::wstring GeneralFailureText(int code);

// The driver-store entries (INF files in C:\windows\inf) that hold text.
// Windows names them oem<n>.inf; Wine keeps the original name when it is free.
std::vector<std::wstring> DriverStoreEntriesWith(const std::string& text);

class DriverSetupRun : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A package folder with both programs (or without x64\Setup64.exe),
    // whose name starts with stem.
    testing_support::DriverPackage& MakePackage(bool withSetup64 = true, const wchar_t* stem = L"pkg");
    // Runs the package's Setup.exe, answering its boxes and those of Setup64.exe.
    testing_support::AnsweredRun RunSetup(const testing_support::DriverPackage& package);
    // Runs Setup64.exe with the argument text given (may be empty).
    testing_support::AnsweredRun RunSetup64(const testing_support::DriverPackage& package,
                                            const std::wstring& arguments);

private:
    std::unique_ptr<testing_support::DriverPackage> package_;
};

// Expects exactly one message box: caption "Device Driver Installer", the
// given text, shown by the given program (L"Setup.exe" / L"Setup64.exe").
void ExpectOnlyBox(const testing_support::AnsweredRun& run, const std::wstring& text,
                   const std::wstring& program);

// Expects a run that ended with code after that one box.
void ExpectOutcome(const testing_support::AnsweredRun& run, int code, const std::wstring& text,
                   const std::wstring& program);

// Expects a run that ended with 0 after Setup64.exe's success message.
void ExpectSuccess(const testing_support::AnsweredRun& run, const std::wstring& text = kSuccessText);

// Removes what the sample package installs outside its own folder.
void RemoveSampleInstallation();

}  // namespace e2e
