#include "spooler_service.h"

namespace testing_support {

namespace {

// Service manager and "Spooler" service handles with the access asked for.
class SpoolerHandle {
public:
    explicit SpoolerHandle(DWORD access)
    {
        manager_ = OpenSCManagerW(nullptr, nullptr, GENERIC_READ | GENERIC_EXECUTE);
        if (manager_)
            service_ = OpenServiceW(manager_, L"Spooler", access);
    }
    SpoolerHandle(const SpoolerHandle&) = delete;
    SpoolerHandle& operator=(const SpoolerHandle&) = delete;
    ~SpoolerHandle()
    {
        if (service_)
            CloseServiceHandle(service_);
        if (manager_)
            CloseServiceHandle(manager_);
    }
    SC_HANDLE Get() const { return service_; }

private:
    SC_HANDLE manager_ = nullptr;
    SC_HANDLE service_ = nullptr;
};

DWORD QueryState(SC_HANDLE service)
{
    SERVICE_STATUS status = {};
    return service && QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
}

}  // namespace

DWORD SpoolerState()
{
    SpoolerHandle spooler(SERVICE_QUERY_STATUS);
    return QueryState(spooler.Get());
}

bool SetSpoolerRunning(bool running, DWORD timeoutMs)
{
    SpoolerHandle spooler(SERVICE_QUERY_STATUS | (running ? SERVICE_START : SERVICE_STOP));
    if (!spooler.Get())
        return false;
    const DWORD wanted = running ? SERVICE_RUNNING : SERVICE_STOPPED;
    if (QueryState(spooler.Get()) != wanted) {
        SERVICE_STATUS status = {};
        // A refused request (already on its way) still ends in the state waited for.
        if (running)
            StartServiceW(spooler.Get(), 0, nullptr);
        else
            ControlService(spooler.Get(), SERVICE_CONTROL_STOP, &status);
    }
    const DWORD start = GetTickCount();
    while (QueryState(spooler.Get()) != wanted) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

}  // namespace testing_support
