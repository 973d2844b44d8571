// The start of every run: the version gate, the command line, where the
// program and its install script are.
#pragma once
#include <windows.h>

enum RunMode {
    RunModeInstall,            // no argument, or anything not listed below
    RunModeUninstallHandOver,  // "/r", "r", "/R", "R"
    RunModeUninstallCopy,      // "x" or "/x", a blank and the installed program's path
};

// Message 38 and false below Windows 2000; sets g_newShell.
bool PassVersionGate();

// g_programPath from the module; false when the path does not fit.
bool LocateProgram();

// The mode chosen by the first character after an optional "/". For
// RunModeUninstallCopy, *installedProgram is the text after "x" and one
// separator character, or null when nothing follows them.
RunMode ChooseRunMode(const char* commandLine, const char** installedProgram);

// g_sourceDir and g_programName from the base path; false when its last
// component is empty or longer than kFileNameSize - 1 characters.
bool SetBasePath(const char* basePath);

// g_scriptPath and g_scriptName: the base path with extension "INF", else
// with the language suffix (string 37), else with "E.INF". False when the
// candidate does not fit into the buffers.
bool SelectInstallScript(const char* basePath);
