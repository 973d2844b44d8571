#include "spooler_control.h"

#include <windows.h>

#include "handles.h"

namespace {

const int kStateAttempts = 50;
const DWORD kStatePollMs = 100;

bool RequestState(SC_HANDLE service, SpoolerAction action)
{
    if (action == SpoolerStart)
        return StartServiceW(service, 0, nullptr) != FALSE;
    SERVICE_STATUS status = {};
    return ControlService(service, SERVICE_CONTROL_STOP, &status) != FALSE;
}

}  // namespace

int ControlSpooler(SpoolerAction action)
{
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, GENERIC_EXECUTE));
    if (!manager.Get())
        return 0;
    const DWORD access = SERVICE_QUERY_STATUS | (action == SpoolerStart ? SERVICE_START : SERVICE_STOP);
    ServiceHandle service(OpenServiceW(manager.Get(), L"Spooler", access));
    if (!service.Get())
        return 0;
    const DWORD wanted = action == SpoolerStart ? SERVICE_RUNNING : SERVICE_STOPPED;
    const DWORD pending = action == SpoolerStart ? SERVICE_START_PENDING : SERVICE_STOP_PENDING;
    for (int attempt = 0; attempt < kStateAttempts; ++attempt) {
        SERVICE_STATUS status = {};
        if (!QueryServiceStatus(service.Get(), &status))
            return 0;
        if (status.dwCurrentState == wanted)
            return 1;
        // A service on its way to the wanted state refuses a second request.
        if (status.dwCurrentState != pending && !RequestState(service.Get(), action))
            return 0;
        Sleep(kStatePollMs);
    }
    return -1;
}
