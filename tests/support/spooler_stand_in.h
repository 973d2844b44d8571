// Puts a program that refuses to stop (or is slow to stop) in the place of the
// "Spooler" service of the test prefix, for one test: every stop of the
// spooler then fails (or waits) for real. On Restore (or when it goes) the service gets its own program back
// and runs again.
#pragma once
#include <windows.h>
#include <string>

namespace testing_support {

// The user-defined control that makes the stand-in stop (it refuses SERVICE_CONTROL_STOP).
const DWORD kStandInReleaseControl = 200;

class SpoolerStandIn {
public:
    // standInPath: a service program (Wine path) that refuses SERVICE_CONTROL_STOP
    // or is slow to stop, and stops at once on kStandInReleaseControl.
    // arguments: its command-line arguments, if any.
    explicit SpoolerStandIn(const std::wstring& standInPath, const std::wstring& arguments = L"");
    SpoolerStandIn(const SpoolerStandIn&) = delete;
    SpoolerStandIn& operator=(const SpoolerStandIn&) = delete;
    ~SpoolerStandIn();

    // True when the stand-in runs as the "Spooler" service.
    bool IsRunning() const { return running_; }
    // Ends the stand-in and starts the real spooler; true when it runs again.
    bool Restore();

private:
    bool Replace(const std::wstring& commandLine);
    bool EndStandIn();

    SC_HANDLE manager_ = nullptr;
    SC_HANDLE service_ = nullptr;
    std::wstring binaryPath_;  // the service's own program, put back by Restore
    bool replaced_ = false;
    bool running_ = false;
};

}  // namespace testing_support
