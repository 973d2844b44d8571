// Uninstall hand-over: the installed program cannot remove its own file, so
// after the user's confirmation it copies itself into the system directory
// and starts that copy on the installed program's folder.
#pragma once

void RunUninstallHandOver();
