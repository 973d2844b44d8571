// The settings of one run, read from the install script and the registry
// into the process-wide globals.
#pragma once

// Fills g_title, g_installKey, g_installDir, g_menuDir, the flags and the
// entry counts. False after it has shown message 1 (damaged or missing
// script) or 2 (uninstall entry conflict); the caller then ends.
bool LoadInstallSettings();

// Message 1, "Damaged file, or NO Information file.": no owner, no caption.
void ReportDamagedScript();
