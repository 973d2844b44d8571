// The removal of an installed package, run once by the uninstall dialog.
#pragma once

// Deletes the [Reg] trees, unregisters the components, deletes the listed
// files with the program-menu group, the install folder, the uninstall entry
// and the desktop and Startup shortcuts. True when everything went; false
// when anything stayed. When the first listed file (the main program) cannot
// be deleted, the run ends there so that the uninstall can be repeated.
bool RunUninstall();
