#include "spooler_stand_in.h"

#include <vector>

#include "spooler_service.h"

namespace testing_support {

namespace {

bool SetBinaryPath(SC_HANDLE service, const std::wstring& path)
{
    return ChangeServiceConfigW(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr) != FALSE;
}

}  // namespace

SpoolerStandIn::SpoolerStandIn(const std::wstring& standInPath, const std::wstring& arguments)
{
    manager_ = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager_)
        service_ = OpenServiceW(manager_, L"Spooler", SERVICE_ALL_ACCESS);
    if (service_)
        running_ = Replace(L"\"" + standInPath + L"\"" + (arguments.empty() ? L"" : L" " + arguments));
}

SpoolerStandIn::~SpoolerStandIn()
{
    Restore();
    if (service_)
        CloseServiceHandle(service_);
    if (manager_)
        CloseServiceHandle(manager_);
}

bool SpoolerStandIn::Replace(const std::wstring& commandLine)
{
    if (!SetSpoolerRunning(false))
        return false;
    DWORD needed = 0;
    QueryServiceConfigW(service_, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (needed == 0 || !QueryServiceConfigW(service_, config, needed, &needed) || !config->lpBinaryPathName)
        return false;
    binaryPath_ = config->lpBinaryPathName;
    if (!SetBinaryPath(service_, commandLine))
        return false;
    replaced_ = true;
    return SetSpoolerRunning(true);
}

bool SpoolerStandIn::EndStandIn()
{
    SERVICE_STATUS status = {};
    if (QueryServiceStatus(service_, &status) && status.dwCurrentState == SERVICE_STOPPED)
        return true;
    // The stop request that follows is refused; the release ends the stand-in.
    return ControlService(service_, kStandInReleaseControl, &status) && SetSpoolerRunning(false);
}

bool SpoolerStandIn::Restore()
{
    if (replaced_) {
        const bool ended = EndStandIn();
        // The real program goes back even when the stand-in would not end.
        if (!SetBinaryPath(service_, binaryPath_) || !ended)
            return false;
        replaced_ = false;
        running_ = false;
    }
    return SetSpoolerRunning(true);
}

}  // namespace testing_support
