// The parts of Windows that the install step changes besides plain files: the
// driver store, the system folders and the print spooler. The install step
// asks them through this class, so that a test that cannot restore them can
// put its own stand-ins in their place; the class itself is the real thing.
#pragma once
#include <windows.h>

#include "setup_paths.h"
#include "spooler_control.h"

class PrinterSystem {
public:
    // Adds the INF package to the driver store; the last error tells why not.
    virtual bool AddToDriverStore(const wchar_t* infPath);
    // A system folder by its CSIDL (CSIDL_SYSTEM, CSIDL_SYSTEMX86).
    virtual bool FindSystemFolder(int csidl, wchar_t (&folder)[SETUP_PATH_SIZE]);
    // As the free ControlSpooler: 1, 0 or -1.
    virtual int ControlSpooler(SpoolerAction action);
};
