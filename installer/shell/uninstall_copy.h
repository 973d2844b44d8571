// Hand-over-copy mode: the copy of install in the system directory runs the
// uninstall of the installed program's folder.
#pragma once

void RunUninstallCopy();
