// The "Spooler" service of the test prefix, as tests read and set it around
// runs of the driver installer, which stops and starts it.
#pragma once
#include <windows.h>

namespace testing_support {

// Current state (SERVICE_RUNNING, SERVICE_STOPPED, ...); 0 when it cannot be queried.
DWORD SpoolerState();

// Starts or stops the spooler and waits until it is in that state (at most
// timeoutMs). True when it got there.
bool SetSpoolerRunning(bool running, DWORD timeoutMs = 5000);

}  // namespace testing_support
