#include "printer_system.h"

#include <setupapi.h>
#include <shlobj.h>

bool PrinterSystem::AddToDriverStore(const wchar_t* infPath)
{
    wchar_t storedName[SETUP_PATH_SIZE];
    DWORD requiredSize = 0;
    return SetupCopyOEMInfW(infPath, nullptr, SPOST_PATH, 0, storedName, ARRAYSIZE(storedName),
                            &requiredSize, nullptr) &&
           requiredSize != 0;
}

bool PrinterSystem::FindSystemFolder(int csidl, wchar_t (&folder)[SETUP_PATH_SIZE])
{
    return SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE) != FALSE;
}

int PrinterSystem::ControlSpooler(SpoolerAction action)
{
    return ::ControlSpooler(action);
}
