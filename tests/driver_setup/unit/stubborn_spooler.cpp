// A stand-in for the "Spooler" service that refuses to stop: the spooler
// tests run it in the service's place to see a stop fail for real. Only the
// test's own release control ends it.
#include <windows.h>

#include "spooler_stand_in.h"

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE released = nullptr;

DWORD WINAPI HandleControl(DWORD control, DWORD, void*, void*)
{
    if (control == testing_support::kStandInReleaseControl) {
        SetEvent(released);
        return NO_ERROR;
    }
    return control == SERVICE_CONTROL_INTERROGATE ? NO_ERROR : ERROR_CALL_NOT_IMPLEMENTED;
}

void ReportState(DWORD state)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    SetServiceStatus(statusHandle, &status);
}

void WINAPI RunService(DWORD, wchar_t**)
{
    statusHandle = RegisterServiceCtrlHandlerExW(L"Spooler", HandleControl, nullptr);
    if (!statusHandle)
        return;
    ReportState(SERVICE_RUNNING);
    // Bounded, so that a test that dies cannot leave it running for ever.
    WaitForSingleObject(released, 120000);
    ReportState(SERVICE_STOPPED);
}

}  // namespace

int main()
{
    released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    wchar_t name[] = L"Spooler";
    const SERVICE_TABLE_ENTRYW table[] = {{name, RunService}, {nullptr, nullptr}};
    return released && StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
