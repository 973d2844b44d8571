// Copying a group of files into a target directory with a per-file rule for
// files that are already there.
#pragma once
#include <windows.h>

#include "printer_system.h"
#include "string_list.h"

// Bits of the copy rule for an existing target file.
enum CopyMode {
    CopyKeepExisting = 0,
    CopyByVersion = 0x1,
    CopyByTime = 0x2,
    CopyAlways = CopyByVersion | CopyByTime,
    // A spooler file in use ("PCP...", "PDR...") may be replaced after stopping the spooler.
    CopyMayStopSpooler = 0x10,
};

// Last error set by CopyFileGroup when the spooler had to be stopped and did not stop.
const DWORD SPOOLER_STOP_FAILED = 0x20000000;

// 2: all copied or rightly kept, spooler stopped on the way; 1: the same
// without stopping it; 0: a file failed, the target directory could not be
// made or the spooler did not stop; -2: a file failed after the spooler was
// stopped. A file that the rule replaces and that stays in use has failed
// (ERROR_SHARING_VIOLATION). On failure the thread's last error tells why.
// Each file is put in place whole or not at all (file_placement.h).
int CopyFileGroup(const wchar_t* sourceDirectory, const wchar_t* targetDirectory,
                  const StringList& fileNames, DWORD mode);
// The same, stopping the spooler through system.
int CopyFileGroup(const wchar_t* sourceDirectory, const wchar_t* targetDirectory,
                  const StringList& fileNames, DWORD mode, PrinterSystem& system);

// Creates the last level of path if needed; its parent must exist.
bool EnsureDirectory(const wchar_t* path);

bool ReadFileVersion(const wchar_t* path, DWORD* mostSignificant, DWORD* leastSignificant);
