// A stand-in for the "Spooler" service, run in the service's place by the
// spooler tests. Without arguments it refuses to stop, so that a stop of the
// spooler fails for real. Started as "slow <file>" it holds that file open
// (as the spooler holds its driver files) and answers a stop with
// STOP_PENDING for about a second before it lets the file go and stops. The
// test's own release control ends it at once either way.
#include <windows.h>
#include <wchar.h>

#include "spooler_stand_in.h"

namespace {

const DWORD kSlowStopMs = 1000;

SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE released = nullptr;
HANDLE stopAsked = nullptr;
bool slow = false;
HANDLE heldFile = INVALID_HANDLE_VALUE;

void ReportState(DWORD state)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = slow && state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    if (state == SERVICE_STOP_PENDING) {
        status.dwCheckPoint = 1;
        status.dwWaitHint = 2 * kSlowStopMs;
    }
    SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI HandleControl(DWORD control, DWORD, void*, void*)
{
    if (control == testing_support::kStandInReleaseControl) {
        SetEvent(released);
        return NO_ERROR;
    }
    if (control == SERVICE_CONTROL_STOP && slow) {
        ReportState(SERVICE_STOP_PENDING);
        SetEvent(stopAsked);
        return NO_ERROR;
    }
    return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void WINAPI RunService(DWORD, wchar_t**)
{
    statusHandle = RegisterServiceCtrlHandlerExW(L"Spooler", HandleControl, nullptr);
    if (!statusHandle)
        return;
    ReportState(SERVICE_RUNNING);
    // Bounded, so that a test that dies cannot leave it running for ever.
    const HANDLE ends[] = {released, stopAsked};
    if (WaitForMultipleObjects(2, ends, FALSE, 120000) == WAIT_OBJECT_0 + 1)
        Sleep(kSlowStopMs);
    if (heldFile != INVALID_HANDLE_VALUE)
        CloseHandle(heldFile);
    ReportState(SERVICE_STOPPED);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && wcscmp(argv[1], L"slow") == 0) {
        slow = true;
        heldFile = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    stopAsked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    wchar_t name[] = L"Spooler";
    const SERVICE_TABLE_ENTRYW table[] = {{name, RunService}, {nullptr, nullptr}};
    return released && stopAsked && StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
