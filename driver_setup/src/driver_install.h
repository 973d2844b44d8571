// The install step of a driver-setup run.
#pragma once

#include "printer_system.h"
#include "setup_config.h"

// Adds the driver package to the driver store and copies every file group;
// 0 or a SetupCode, with the Windows error of a failed step in setup.detailCode.
int InstallDriverPackage(DriverSetup& setup);
// The same through the given driver store, system folders and spooler.
int InstallDriverPackage(DriverSetup& setup, PrinterSystem& system);
