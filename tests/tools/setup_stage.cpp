#include "driver_changes.h"
#include "medium_stages.h"
#include "process_tree.h"
#include "run_output.h"
#include "test_files.h"

using namespace testing_support;

namespace medium_run {

namespace {

const DWORD kRunTimeoutMs = 120000;

}  // namespace

bool RunSetupStage(const std::wstring& medium)
{
    Print(L"== Setup.exe");
    const std::wstring path = JoinPaths(medium, L"Setup.exe");
    if (!FileExists(path)) {
        Print(L"missing: " + path);
        return false;
    }
    const DriverChanges driverSide(medium);
    const AnsweredRun run = RunAnsweringBoxes(L"\"" + path + L"\"", kRunTimeoutMs);
    if (!run.started) {
        Print(L"could not be started: " + path);
        return false;
    }
    const bool succeeded = PrintRunOutcome(L"Setup.exe", run, kRunTimeoutMs);
    driverSide.Report();
    return succeeded;
}

}  // namespace medium_run
