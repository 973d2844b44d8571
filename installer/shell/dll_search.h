// Where install's DLLs come from. The program runs elevated from folders that
// others may write to (a medium, a download folder), so no DLL may load from
// its own folder or the current directory.
#pragma once

// Restricts the DLL search of this process to the system directory and loads
// the DLLs that other components load by name from there. The entry calls it
// first, before anything loads a DLL.
void RestrictDllSearch();

// What RestrictDllSearch does before Windows 7 and wherever
// SetDefaultDllDirectories is missing: the current directory leaves the
// search (from Windows XP SP1 on), and the preloaded DLLs are all that keeps
// the program's folder out.
void RestrictDllSearchWithoutDefaultDirectories();
